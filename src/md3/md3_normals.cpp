// Recomputing, smoothing and welding per frame. Distances are per axis, not Euclidean:
// two vertices are close when every coordinate differs by less than the tolerance.
#include <cmath>
#include <vector>

#include "md3/md3.h"
#include "md3/md3_geometry.h"

using md3_geometry::Position;

namespace {

// Smoothing joins vertices that were split along seams, which sit on the same spot up to
// the 1/64 storage step.
constexpr float kSmoothTolerance = 0.02f;

// The surface's vertices of frame f, or nullptr when the array is shorter than the counts.
TMD3Vertex* FrameVertices(TSurface& s, int f) {
    const std::size_t verts = static_cast<std::size_t>(s.numVerts);
    if (s.vertices.size() < (static_cast<std::size_t>(f) + 1) * verts) return nullptr;
    return s.vertices.data() + static_cast<std::size_t>(f) * verts;
}

}  // namespace

void TMD3::CalculateNormals(int surface) {
    if (header.numSurfaces == 0 || header.numFrames <= 0 || !ValidSurface(surface)) return;
    TSurface& s = header.surfaces[static_cast<std::size_t>(surface)];
    for (int f = 0; f < header.numFrames; ++f) {
        TMD3Vertex* v = FrameVertices(s, f);
        if (v == nullptr) return;
        for (const TMD3Triangle& t : s.triangles) {
            const std::int32_t i0 = t.indexes[0], i1 = t.indexes[1], i2 = t.indexes[2];
            if (i0 < 0 || i1 < 0 || i2 < 0 || i0 >= s.numVerts || i1 >= s.numVerts ||
                i2 >= s.numVerts) {
                continue;
            }
            // No averaging: a shared vertex keeps the normal of the last triangle using it.
            const std::uint16_t w =
                EncodeNormal(TriangleNormal(Position(v[i2]), Position(v[i1]), Position(v[i0])));
            v[i0].normal = v[i1].normal = v[i2].normal = w;
        }
    }
}

void TMD3::SmoothSurface(int surface) {
    if (!ValidSurface(surface)) return;
    TSurface& s = header.surfaces[static_cast<std::size_t>(surface)];
    std::vector<int> group;
    for (int f = 0; f < header.numFrames; ++f) {
        TMD3Vertex* v = FrameVertices(s, f);
        if (v == nullptr) return;
        for (int i = 0; i < s.numVerts; ++i) {
            const TVector3 p = Position(v[i]);
            TVector3 sum = DecodeNormal(v[i].normal);
            group.assign(1, i);
            for (int j = i + 1; j < s.numVerts; ++j) {
                if (VectorEqualEps(p, Position(v[j]), kSmoothTolerance)) {
                    sum = sum + DecodeNormal(v[j].normal);
                    group.push_back(j);
                }
            }
            // Later rounds see these normals again; that is how chains of near vertices
            // spread their shading.
            const std::uint16_t w = EncodeNormal(sum * (1.0f / static_cast<float>(group.size())));
            for (int k : group)
                v[k].normal = w;
        }
    }
}

void TMD3::WeldVertices(int surface, float distance) {
    if (!ValidSurface(surface)) return;
    const float d = std::fabs(distance);
    TSurface& s = header.surfaces[static_cast<std::size_t>(surface)];
    for (int f = 0; f < header.numFrames; ++f) {
        TMD3Vertex* v = FrameVertices(s, f);
        if (v == nullptr) return;
        for (int i = 0; i < s.numVerts; ++i) {
            const TVector3 p = Position(v[i]);
            for (int j = i + 1; j < s.numVerts; ++j) {
                // Copies the stored values, so welded vertices are exactly equal.
                if (VectorEqualEps(p, Position(v[j]), d)) {
                    v[j].x = v[i].x;
                    v[j].y = v[i].y;
                    v[j].z = v[i].z;
                }
            }
        }
    }
}
