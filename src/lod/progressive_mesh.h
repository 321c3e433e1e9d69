// Progressive mesh of one surface: the cheapest vertex is collapsed onto a neighbour again and
// again until none is left. The order of removal gives the new vertex numbering, the collapse
// targets the collapse map, and the count at which only border vertices remain the LOD minimum.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "skeletal/mdm_format.h"

struct TcmResult {
    // New index of each old vertex.
    std::vector<std::int32_t> permutation;
    // In the new numbering: map[k] is the vertex that vertex k collapses onto, smaller than k
    // except for map[0] = 0.
    std::vector<std::int32_t> map;
    std::int32_t lodMinimum = 0;
};

// Picks the cheapest vertex from a priority structure that is updated only for the vertices a
// collapse touches.
TcmResult ProgressiveMesh(const std::vector<TVector3>& positions,
                          const std::vector<TMDMTriangle>& triangles);

// The same choice by scanning every remaining vertex for every collapse (quadratic in the
// vertex count): the plain statement of the algorithm, kept to check ProgressiveMesh against.
TcmResult ProgressiveMeshLiteral(const std::vector<TVector3>& positions,
                                 const std::vector<TMDMTriangle>& triangles);
