// Small helpers shared by the files that edit positions, normals and tags.
#pragma once

#include <cstddef>
#include <vector>

#include "md3/md3.h"

namespace md3_geometry {

inline TVector3 Position(const TMD3Vertex& v) {
    return {v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale};
}

inline float& Component(TVector3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

inline std::int16_t& Component(TMD3Vertex& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// Calls fn(vertex) for every vertex record of every frame of every surface.
template <typename Fn>
void ForEachVertex(THeader& h, Fn fn) {
    for (TSurface& s : h.surfaces)
        for (TMD3Vertex& v : s.vertices)
            fn(v);
}

// Calls fn(vertex) for the vertices of frame f of every surface.
template <typename Fn>
void ForEachVertexOfFrame(THeader& h, int f, Fn fn) {
    for (TSurface& s : h.surfaces) {
        const std::size_t verts = static_cast<std::size_t>(s.numVerts > 0 ? s.numVerts : 0);
        const std::size_t first = static_cast<std::size_t>(f) * verts;
        for (std::size_t v = first; v < first + verts && v < s.vertices.size(); ++v)
            fn(s.vertices[v]);
    }
}

// Calls fn(vertex, clamped) for every vertex of every frame, where `clamped` is the count of
// that vertex's frame in `clampedInFrame` (one per frame); returns the sum of all frames.
template <typename Fn>
int ForEachVertexCountingPerFrame(THeader& h, std::vector<int>& clampedInFrame, Fn fn) {
    const int frames = h.numFrames > 0 ? h.numFrames : 0;
    clampedInFrame.assign(static_cast<std::size_t>(frames), 0);
    int total = 0;
    for (int f = 0; f < frames; ++f) {
        int& count = clampedInFrame[static_cast<std::size_t>(f)];
        ForEachVertexOfFrame(h, f, [&](TMD3Vertex& v) { fn(v, count); });
        total += count;
    }
    return total;
}

// The tags of frame f, or none when the tag array is shorter than the counts say.
template <typename Fn>
void ForEachTagOfFrame(THeader& h, int f, Fn fn) {
    const std::size_t count = static_cast<std::size_t>(h.numTags > 0 ? h.numTags : 0);
    const std::size_t first = static_cast<std::size_t>(f) * count;
    if (h.tags.size() < first + count) return;
    for (std::size_t t = first; t < first + count; ++t)
        fn(h.tags[t]);
}

}  // namespace md3_geometry
