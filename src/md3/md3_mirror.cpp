// Mirroring the model at a plane through the origin, mirroring normals, reversing windings
// and the tag-axis edits.
#include <utility>
#include <vector>

#include "md3/md3.h"
#include "md3/md3_geometry.h"

using md3_geometry::Component;

void TMD3::MirrorAxis(int axis, int& clamped) {
    for (TMD3Frame& frame : header.frames) {
        const float oldMin = Component(frame.minBounds, axis);
        Component(frame.minBounds, axis) = -Component(frame.maxBounds, axis);
        Component(frame.maxBounds, axis) = -oldMin;
        Component(frame.localOrigin, axis) = -Component(frame.localOrigin, axis);
    }
    std::vector<int> clampedInFrame;
    clamped += md3_geometry::ForEachVertexCountingPerFrame(
        header, clampedInFrame, [&](TMD3Vertex& v, int& count) {
            std::int16_t& c = Component(v, axis);
            // -32768 has no positive counterpart; wrapping would leave it unmirrored.
            c = ClampStored(-static_cast<double>(c), count);
            v.normal = MirrorNormal(v.normal, axis);
        });
    FitClampedFrames(clampedInFrame);
    for (TMD3Tag& tag : header.tags) {
        Component(tag.origin, axis) = -Component(tag.origin, axis);
        for (TVector3& a : tag.axis)
            Component(a, axis) = -Component(a, axis);
    }
    // A mirrored triangle winds the other way; reversing keeps its front facing outwards.
    ReverseWinding();
}

int TMD3::MirrorX() {
    int clamped = 0;
    MirrorAxis(0, clamped);
    return clamped;
}

int TMD3::MirrorY() {
    int clamped = 0;
    MirrorAxis(1, clamped);
    return clamped;
}

int TMD3::MirrorZ() {
    int clamped = 0;
    MirrorAxis(2, clamped);
    return clamped;
}

void TMD3::MirrorNormals() {
    md3_geometry::ForEachVertex(header, [](TMD3Vertex& v) { v.normal = NegateNormal(v.normal); });
}

void TMD3::ReverseWinding() {
    for (TSurface& s : header.surfaces)
        for (TMD3Triangle& t : s.triangles)
            std::swap(t.indexes[0], t.indexes[2]);
}

void TMD3::TagsInvertX() {
    for (TMD3Tag& tag : header.tags)
        tag.axis[0] = VectorNegate(tag.axis[0]);
}

void TMD3::TagsInvertY() {
    for (TMD3Tag& tag : header.tags)
        tag.axis[1] = VectorNegate(tag.axis[1]);
}

void TMD3::TagsInvertZ() {
    for (TMD3Tag& tag : header.tags)
        tag.axis[2] = VectorNegate(tag.axis[2]);
}

void TMD3::TagsSwapXY() {
    for (TMD3Tag& tag : header.tags)
        std::swap(tag.axis[0], tag.axis[1]);
}

void TMD3::TagsSwapXZ() {
    for (TMD3Tag& tag : header.tags)
        std::swap(tag.axis[0], tag.axis[2]);
}

void TMD3::TagsSwapYZ() {
    for (TMD3Tag& tag : header.tags)
        std::swap(tag.axis[1], tag.axis[2]);
}
