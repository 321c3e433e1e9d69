// Curved patches of a map (patchDef2, patchDef3) tessellated into triangles the way the map
// compiler tessellates them for the game.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/map_records.h"

// A patch's control grid as read: `width` columns by `height` rows, row-major.
struct TPatchControls {
    std::string textureName;
    int width = 0;
    int height = 0;
    // patchDef3 gives its subdivisions per span; zero for patchDef2.
    int fixedStepsX = 0;
    int fixedStepsY = 0;
    std::vector<TMapVertex> points;  // position and (s, t) as read; normals are computed
};

// A tessellated patch: vertices shared by its triangles, in the map's coordinates.
struct TMapMesh {
    std::string textureName;
    std::vector<TMapVertex> vertices;
    std::vector<std::array<std::int32_t, 3>> triangles;  // wound as the game draws them
};

// Reads the lines of a patch block (its keyword line first, nested braces included). False
// when the block is no complete patch: a size that is even, below 3 or above 32, or too few
// numbers.
bool ReadPatch(const std::vector<std::string_view>& lines, TPatchControls& patch);

// The longest quadratic curve of the control grid, which decides the subdivision.
float LongestPatchCurve(const TPatchControls& patch);

// Whether two patches touch: a control point of one within a unit of one of the other. Patches
// that touch are subdivided alike, so that their seams do not open.
bool PatchesTouch(const TPatchControls& a, const TPatchControls& b);

// Tessellates a patch whose group's longest curve is `longestCurve`. False for a patch
// whose control points all lie on one line, which the compiler drops.
bool TessellatePatch(const TPatchControls& patch, float longestCurve, TMapMesh& mesh);
