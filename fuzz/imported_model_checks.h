// What every import that succeeds must give, whatever its input: surfaces that hold what their
// counts say, indices that name their own vertices, and, past the limits, split surfaces
// that fit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "md3/md3.h"

inline void TrapUnlessImportFits(const TMD3& model) {
    if (model.header.surfaces.size() > static_cast<std::size_t>(kMD3MaxSurfaces)) __builtin_trap();
    for (const TSurface& s : model.header.surfaces) {
        if (s.numVerts > kMD3MaxVerts || s.numTriangles > kMD3MaxTriangles) __builtin_trap();
        if (s.triangles.size() != static_cast<std::size_t>(s.numTriangles) ||
            s.vertices.size() != static_cast<std::size_t>(s.numVerts) *
                                     static_cast<std::size_t>(model.header.numFrames)) {
            __builtin_trap();
        }
        for (const TMD3Triangle& t : s.triangles) {
            for (std::int32_t index : t.indexes) {
                if (index < 0 || index >= s.numVerts) __builtin_trap();
            }
        }
    }
}
