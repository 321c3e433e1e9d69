#include "render/view_control.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "math/matrix.h"
#include "math/scalar.h"
#include "md3/md3.h"

namespace {

// Moving the eye by this little only re-aims the target one unit ahead.
constexpr float kTargetNudge = 0.00001f;

TVector3 OnZAxis(std::int32_t distance) {
    return {0.0f, 0.0f, static_cast<float>(distance)};
}

void Straighten(TViewState& view) {
    view.rotationMatrix = MatrixIdentity();
    view.rotationAngles = kVectorZero;
    view.pan = kVectorZero;
}

std::int32_t FittingDistance(float largestExtent) {
    const double tan30 = std::tan(30.0 * static_cast<double>(kDegToRad));
    // nearbyint keeps the default rounding mode: halves go to the even neighbour.
    const double d = std::nearbyint(tan30 * 2.0 * static_cast<double>(largestExtent));
    // A model without extent (only tags, bounds stored as zero) would put the eye on the point
    // it looks at, and a camera without a direction draws nothing. The wheel never comes
    // closer than this either.
    if (!(d > kCameraDistanceMin)) return kCameraDistanceMin;
    // An absurdly large model must not overflow the integer distance.
    if (d > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(d);
}

void AppendFixed3(std::string& out, float value) {
    char buffer[32];
    // to_chars ignores the C locale, which the GUI toolkit sets from the environment.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    out.append(buffer, result.ptr);
}

void AppendHexByte(std::string& out, float channel) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const long byte = std::clamp(std::lround(channel * 255.0f), 0L, 255L);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace

void Enclose(TBounds& box, const TVector3& p) {
    box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
    box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
}

void PlaceCameraAtStart(TViewState& view, TCamera& camera) {
    camera.position = OnZAxis(view.cameraDistance);
    camera.MoveForward(kTargetNudge);
}

void ResetView(TViewState& view, TCamera& camera, bool contextReady,
               const std::optional<TBounds>& modelBounds) {
    if (view.lockView) return;
    Straighten(view);
    view.rotationAngles = {90.0f, 0.0f, 0.0f};
    view.pivot = kVectorZero;
    if (contextReady) camera.target = kVectorZero;
    FitView(view, camera, modelBounds);
}

void FitView(TViewState& view, TCamera& camera, const std::optional<TBounds>& modelBounds) {
    if (!modelBounds) return;
    const TVector3 extent = modelBounds->max - modelBounds->min;
    const float largest = std::max({extent.x, extent.y, extent.z});
    const TVector3 centre = modelBounds->min + extent * 0.5f;

    view.pivot = -centre;
    Straighten(view);
    view.cameraDistance = FittingDistance(largest);
    camera.position = OnZAxis(view.cameraDistance);
}

std::optional<TBounds> MD3FrameZeroBounds(const TMD3& model) {
    const THeader& h = model.header;
    if (h.numFrames <= 0 || h.frames.empty()) return std::nullopt;

    constexpr float kHuge = 3.4e38f;
    TBounds box{{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}};
    bool anyVertex = false;
    for (const TSurface& surface : h.surfaces) {
        const std::size_t count = std::min(static_cast<std::size_t>(std::max(surface.numVerts, 0)),
                                           surface.vertices.size());
        for (std::size_t i = 0; i < count; ++i) {
            const TMD3Vertex& v = surface.vertices[i];
            Enclose(box, {v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale});
            anyVertex = true;
        }
    }
    if (anyVertex) return box;
    // Without vertices (a hand model that only carries tags, for instance) the stored bounds
    // are often all zero; the tags are what the view shows, so they must fit too.
    box = TBounds{h.frames[0].minBounds, h.frames[0].maxBounds};
    const std::size_t tags =
        std::min(static_cast<std::size_t>(std::max(h.numTags, 0)), h.tags.size());
    for (std::size_t t = 0; t < tags; ++t)
        Enclose(box, h.tags[t].origin);
    return box;
}

bool WheelZoom(TViewState& view, TCamera& camera, bool wheelDown) {
    if (view.lockView) return false;
    if (wheelDown) {
        if (view.cameraDistance < kCameraDistanceMax) view.cameraDistance += kWheelStep;
    } else {
        if (view.cameraDistance > kCameraDistanceMin) view.cameraDistance -= kWheelStep;
    }
    camera.position = OnZAxis(view.cameraDistance);
    return true;
}

void MouseMove(TViewState& view, TCamera& camera, const TMouseMove& move) {
    const float h = static_cast<float>(move.x - view.lastMouseX) * 2.0f * camera.horizontalFactor;
    const float v = static_cast<float>(move.y - view.lastMouseY) * 2.0f * camera.verticalFactor;
    view.lastMouseX = move.x;
    view.lastMouseY = move.y;
    if (view.lockView) return;

    if (move.leftButton && move.shift) {
        // Opposite offsets make the model follow the pointer in the view plane.
        view.pan = view.pan + (camera.OffsetRight(-h) - camera.position) +
                   (camera.OffsetUp(-v) - camera.position);
    } else if (move.leftButton && move.ctrl) {
        camera.Orbit({v, h, 0.0f});
    } else if (move.leftButton) {
        view.rotationAngles = view.rotationAngles + TVector3{v, h, 0.0f};
        const TMatrix4 step = MatrixMultiply(
            MatrixMultiply(MatrixRotationX(-v), MatrixRotationY(-h)), MatrixRotationZ(0.0));
        view.rotationMatrix = MatrixMultiply(view.rotationMatrix, step);
        camera.target = kVectorZero;
    } else if (move.rightButton) {
        view.rotationAngles = view.rotationAngles + TVector3{0.0f, h, -v};
        const TMatrix4 step = MatrixMultiply(
            MatrixMultiply(MatrixRotationX(h), MatrixRotationY(0.0)), MatrixRotationZ(-v));
        view.rotationMatrix = MatrixMultiply(step, view.rotationMatrix);
        camera.target = kVectorZero;
    }
}

bool SelectMD3TagPivot(TViewState& view, const TMD3& model, int tagIndex) {
    if (view.lockView) return false;
    Straighten(view);
    const THeader& h = model.header;
    // Frame 0 holds the first numTags entries; a larger index would pick a later frame's tag.
    const bool valid =
        tagIndex >= 0 && tagIndex < h.numTags && static_cast<std::size_t>(tagIndex) < h.tags.size();
    view.pivot = valid ? -h.tags[static_cast<std::size_t>(tagIndex)].origin : kVectorZero;
    return true;
}

std::string MouseControlCaption(const std::string& actionCaption, bool typeTwo) {
    return actionCaption + (typeTwo ? " 2" : " 1");
}

std::string ColorConvertCaption(std::uint32_t colour) {
    const TRGBFloats c = ColorToRGBFloats(colour);
    std::string text = "Radiant: ";
    AppendFixed3(text, c.r);
    text += ' ';
    AppendFixed3(text, c.g);
    text += ' ';
    AppendFixed3(text, c.b);
    text += "     Web: #";
    AppendHexByte(text, c.r);
    AppendHexByte(text, c.g);
    AppendHexByte(text, c.b);
    return text;
}
