// The index checks MDM and MDS surfaces share: every triangle corner and every collapse-map
// entry must name a vertex of the surface, since posing, drawing and LOD index by them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skeletal/mdm_format.h"

// Empty when every index lies below `numVerts`, else the first offence, starting with `what`
// ("surface 0 has a triangle that refers to vertex 9 of 8").
std::string SurfaceIndexProblem(const std::vector<TMDMTriangle>& triangles,
                                const std::vector<TMDMCollapseMap>& collapseMap,
                                std::uint32_t numVerts, const std::string& what);
