// Builds MD3 models in code for the sample file, the tests, the benchmarks and fuzz seeds.
#pragma once

#include "md3/md3.h"

struct ModelShape {
    int surfaces = 1;
    int vertsPerSurface = 24;
    int frames = 1;
    int tags = 1;
    int shadersPerSurface = 1;
};

// A model whose surfaces are rings of vertices around the Z axis, triangulated as strips,
// with distinct positions, normals, texture coordinates and tags in every frame. Frame
// bounds, origins and radii are filled in.
void MakeModel(TMD3& model, const ModelShape& shape);

// A textured cube 32 units wide, with one tag "tag_top" on its top face.
void MakeCube(TMD3& model);
