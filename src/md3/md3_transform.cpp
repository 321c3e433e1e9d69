// Rotating, scaling and moving the whole model. Positions are stored as 16-bit values in
// 1/64 units, so results outside that range are clamped and counted instead of wrapping.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "md3/md3.h"
#include "md3/md3_geometry.h"

using md3_geometry::Position;

std::int16_t ClampStored(double stored, int& clamped) {
    if (std::isnan(stored)) {
        ++clamped;
        return 0;
    }
    // Rounds to nearest with ties to even, as nearbyint does in the default rounding mode, but
    // without its library call (a bake stores three values per vertex and frame): adding and
    // taking away 1.5 * 2^52 leaves no bits below the unit. Past 2^51 that would not hold, but
    // any such value is clamped all the same.
    constexpr double kRoundingShift = 6755399441055744.0;
    const double rounded = std::fabs(stored) < 2251799813685248.0
                               ? (stored + kRoundingShift) - kRoundingShift
                               : stored;
    constexpr double kLow = std::numeric_limits<std::int16_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int16_t>::max();
    if (rounded < kLow || rounded > kHigh) {
        ++clamped;
        return static_cast<std::int16_t>(rounded < kLow ? kLow : kHigh);
    }
    return static_cast<std::int16_t>(rounded);
}

std::int16_t StoredCoordinate(float coordinate, int& clamped) {
    return ClampStored(double{coordinate} * 64.0, clamped);
}

namespace {

void StorePosition(TMD3Vertex& v, TVector3 p, int& clamped) {
    v.x = StoredCoordinate(p.x, clamped);
    v.y = StoredCoordinate(p.y, clamped);
    v.z = StoredCoordinate(p.z, clamped);
}

}  // namespace

int TMD3::RotateX(float degrees) {
    return RotateModel(MatrixRotationX(degrees));
}

int TMD3::RotateY(float degrees) {
    return RotateModel(MatrixRotationY(degrees));
}

int TMD3::RotateZ(float degrees) {
    return RotateModel(MatrixRotationZ(degrees));
}

int TMD3::RotateModel(const TMatrix4& m) {
    std::vector<int> clampedInFrame;
    const int clamped = md3_geometry::ForEachVertexCountingPerFrame(
        header, clampedInFrame, [&](TMD3Vertex& v, int& count) {
            StorePosition(v, MatrixTransformPoint(Position(v), m), count);
            v.normal = EncodeNormal(MatrixTransformPoint(DecodeNormal(v.normal), m));
        });
    // Without surfaces there are no vertices to bound; the frames are left as they are.
    if (header.numSurfaces > 0) {
        const int frames = std::min(header.numFrames, static_cast<int>(header.frames.size()));
        for (int f = 0; f < frames; ++f) {
            FrameBoundsFromVertices(f);
            TMD3Frame& frame = header.frames[static_cast<std::size_t>(f)];
            frame.localOrigin = MatrixTransformPoint(frame.localOrigin, m);
        }
    }
    FitClampedFrames(clampedInFrame);
    TransformTags(m);
    return clamped;
}

void TMD3::TransformTags(const TMatrix4& m) {
    for (TMD3Tag& tag : header.tags) {
        tag.origin = MatrixTransformPoint(tag.origin, m);
        for (TVector3& a : tag.axis)
            a = MatrixTransformPoint(a, m);
    }
}

void TMD3::FrameBoundsFromVertices(int frame) {
    if (frame < 0 || frame >= header.numFrames ||
        static_cast<std::size_t>(frame) >= header.frames.size()) {
        return;
    }
    bool any = false;
    TVector3 lo = kVectorZero, hi = kVectorZero;
    md3_geometry::ForEachVertexOfFrame(header, frame, [&](TMD3Vertex& v) {
        const TVector3 p = Position(v);
        if (!any) {
            lo = hi = p;
            any = true;
            return;
        }
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    });
    TMD3Frame& f = header.frames[static_cast<std::size_t>(frame)];
    f.minBounds = lo;
    f.maxBounds = hi;
}

int TMD3::ScaleModel(float factor) {
    int clamped = 0;
    if (factor == 1.0f) return clamped;
    for (TMD3Frame& frame : header.frames) {
        const TVector3 a = frame.minBounds * factor, b = frame.maxBounds * factor;
        // A negative factor turns the box over; min and max must stay min and max.
        frame.minBounds = {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
        frame.maxBounds = {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
        frame.localOrigin = frame.localOrigin * factor;
        frame.radius = frame.radius * std::fabs(factor);
    }
    // A negative factor mirrors the model through the origin: like mirroring at all three
    // planes, the normals and tag axes turn around and the triangles wind the other way, so
    // that their fronts still face outwards.
    const bool mirror = factor < 0.0f;
    for (TMD3Tag& tag : header.tags) {
        tag.origin = tag.origin * factor;
        if (mirror) {
            for (TVector3& a : tag.axis)
                a = VectorNegate(a);
        }
    }
    std::vector<int> clampedInFrame;
    clamped = md3_geometry::ForEachVertexCountingPerFrame(
        header, clampedInFrame, [&](TMD3Vertex& v, int& count) {
            v.x = ClampStored(v.x * double{factor}, count);
            v.y = ClampStored(v.y * double{factor}, count);
            v.z = ClampStored(v.z * double{factor}, count);
            if (mirror) v.normal = NegateNormal(v.normal);
        });
    FitClampedFrames(clampedInFrame);
    if (mirror) ReverseWinding();
    return clamped;
}

int TMD3::TagAsOrigin(int pivot) {
    int clamped = 0;
    const std::int64_t tagCount = std::int64_t{header.numFrames} * header.numTags;
    if (pivot < 0 || pivot > header.numTags || header.numFrames < 0 ||
        static_cast<std::int64_t>(header.tags.size()) < tagCount ||
        header.frames.size() < static_cast<std::size_t>(header.numFrames)) {
        return clamped;
    }
    for (int f = 0; f < header.numFrames; ++f) {
        TMD3Frame& frame = header.frames[static_cast<std::size_t>(f)];
        // Taken before anything of the frame moves; it may differ from frame to frame.
        const TVector3 p =
            pivot == header.numTags
                ? frame.localOrigin
                : header.tags[static_cast<std::size_t>(f) * header.numTags + pivot].origin;
        frame.minBounds = frame.minBounds - p;
        frame.maxBounds = frame.maxBounds - p;
        frame.localOrigin = frame.localOrigin - p;
        md3_geometry::ForEachTagOfFrame(header, f,
                                        [&](TMD3Tag& tag) { tag.origin = tag.origin - p; });
        const int before = clamped;
        md3_geometry::ForEachVertexOfFrame(
            header, f, [&](TMD3Vertex& v) { StorePosition(v, Position(v) - p, clamped); });
        if (clamped != before) FitFrameToStoredRange(f);
    }
    return clamped;
}

void TMD3::FitClampedFrames(const std::vector<int>& clampedInFrame) {
    for (std::size_t f = 0; f < clampedInFrame.size(); ++f) {
        if (clampedInFrame[f] > 0) FitFrameToStoredRange(static_cast<int>(f));
    }
}

void TMD3::FitFrameToStoredRange(int frame) {
    if (frame < 0 || frame >= header.numFrames ||
        static_cast<std::size_t>(frame) >= header.frames.size()) {
        return;
    }
    TMD3Frame& f = header.frames[static_cast<std::size_t>(frame)];
    constexpr float kLow = std::numeric_limits<std::int16_t>::min() * kMD3XyzScale;
    constexpr float kHigh = std::numeric_limits<std::int16_t>::max() * kMD3XyzScale;
    auto clampBox = [&](TVector3& v) {
        v = {std::clamp(v.x, kLow, kHigh), std::clamp(v.y, kLow, kHigh),
             std::clamp(v.z, kLow, kHigh)};
    };
    clampBox(f.minBounds);
    clampBox(f.maxBounds);
    // The moved or scaled radius no longer describes where the vertices ended up: clamping
    // pulls some in, and the local origin may lie outside the range they were pulled into.
    float farthest = 0.0f;
    md3_geometry::ForEachVertexOfFrame(header, frame, [&](TMD3Vertex& v) {
        farthest = std::max(farthest, VectorLength(Position(v) - f.localOrigin));
    });
    f.radius = farthest;
}
