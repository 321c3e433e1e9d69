// What the LOD preview draws of one posed skeletal surface: each triangle with its corners
// moved to the vertices they fall onto at the chosen vertex count, leaving out triangles that
// collapse to a line or a point.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "skeletal/mdm.h"

// Appends three corners per surviving triangle to `corners`, in the order the preview sends
// them (the third corner first). A surface whose collapse map cannot be walked (a broken map
// from a file) gives nothing rather than a tangle of wrong triangles.
void AppendLodTriangles(const TMDMSurface& surface, const std::vector<TVector3>& positions,
                        std::int32_t vertexCount, std::vector<TVector3>& corners);
