// Surfaces built in code for the level-of-detail tests and benchmark: positions and triangles
// as a posed MDM surface gives them to the progressive mesh.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "skeletal/mdm_format.h"

struct LodMesh {
    std::vector<TVector3> positions;
    std::vector<TMDMTriangle> triangles;
};

// An open grid of columns x rows vertices, one unit apart in x and y, each square split into
// two triangles (the diagonal alternating). Heights are whole multiples of `bump` chosen by
// `seed`; a bump of 0 gives a flat grid, where many collapses cost exactly the same.
LodMesh LodGridMesh(int columns, int rows, float bump, std::uint32_t seed);

// `vertices` positions on a small integer lattice (so that lengths and normals repeat) and
// `triangles` triangles over them chosen at random, some with a repeated vertex: no manifold,
// every special case of the border test and the neighbour lists.
LodMesh LodRandomMesh(int vertices, int triangles, std::uint32_t seed);
