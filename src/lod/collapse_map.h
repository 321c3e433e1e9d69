// TCollapseMap: the level-of-detail data of a skeletal player mesh. For every surface it
// computes, from the mesh posed at one animation frame, the vertex order in which the surface
// is reduced, the collapse map (onto which lower-numbered vertex each vertex falls) and the
// LOD minimum, and it walks collapse maps to find what a vertex becomes at fewer vertices.
#pragma once

#include <cstdint>
#include <string>

#include "io/progress.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// The frames "Calculate LOD" poses at: the one the game's player animation stands still in,
// for a pair loaded as such and for a converted MDS model.
inline constexpr std::uint32_t kLodFrameMDMMDX = 4274;
inline constexpr std::uint32_t kLodFrameMDS = 3812;

class TCollapseMap {
  public:
    // Computes the collapse map and minLod of every surface from the mesh posed at `frame`
    // (frame 0 when the animation is shorter), reorders each surface's vertices so that the
    // first k of them form the surface at k vertices, fills the LOD display table and sets
    // lodScale 1 and lodBias 0. Surfaces past the table's 32 entries get their data without a
    // table entry. False, with the mesh unchanged (but for its pose), when the pair cannot be
    // posed or `progress` cancels (reported once per surface).
    bool CalculateLod(TMDM& mesh, const TMDX& anim, std::uint32_t frame,
                      TProgress* progress = nullptr);

    // The frame CalculateLod poses at when asked for `frame`.
    static std::uint32_t LodFrame(const TMDX& anim, std::uint32_t frame);

    // The vertex that `index` of the surface falls onto when it keeps `vertexCount` vertices:
    // 0 for a count of 0 or less, `index` itself when it is below the count. -1 when the walk
    // leaves the surface or does not end (a broken map from a file).
    static std::int32_t MapVertex(const TMDMSurface& surface, std::int32_t index,
                                  std::int32_t vertexCount);
};

// Empty when every surface's collapse map sends each vertex k > 0 to a smaller index, else the
// first surface and entry that does not. Such a map cannot be walked, and the LOD preview
// leaves its surface out.
std::string CollapseMapProblem(const TMDM& mesh);
bool CollapseMapSound(const TMDMSurface& surface);
