#include "skeletal/surface_indices.h"

std::string SurfaceIndexProblem(const std::vector<TMDMTriangle>& triangles,
                                const std::vector<TMDMCollapseMap>& collapseMap,
                                std::uint32_t numVerts, const std::string& what) {
    for (const TMDMTriangle& tri : triangles) {
        for (std::int32_t v : tri.indexes) {
            if (v < 0 || static_cast<std::uint32_t>(v) >= numVerts) {
                return what + " has a triangle that refers to vertex " + std::to_string(v) +
                       " of " + std::to_string(numVerts);
            }
        }
    }
    for (TMDMCollapseMap v : collapseMap) {
        if (v >= numVerts) {
            return what + " has a collapse map entry that refers to vertex " + std::to_string(v) +
                   " of " + std::to_string(numVerts);
        }
    }
    return {};
}
