// Bones as the game's renderer holds them: three axis rows and an origin in game coordinates.
// The MDS conversion works in these terms, so that what it re-expresses in another bone's frame
// lands where the game draws it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "skeletal/mdx.h"

struct TGameBone {
    std::array<TVector3, 3> axis{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    TVector3 origin;
};

// The axis rows the game builds from a bone frame's pitch, yaw and roll (its AnglesToAxis).
std::array<TVector3, 3> GameBoneAxis(const TMDXBoneFrame& frame);

// Every bone of one frame as the game's MDS renderer places it: a root at the frame's parent
// offset, any other bone parentDist from its parent along the exact direction of its offset
// angles. A parent index outside the list, or a parent chain that loops, makes a root.
std::vector<TGameBone> GameBonesOfFrame(const std::vector<TMDXBoneInfo>& bones,
                                        const TMDXFrame& frame);

// A point in the bone's frame placed in the model (axis rows times the point, plus origin), and
// back; the second is the inverse of the first because the rows are orthonormal.
TVector3 GamePointFromBone(const TGameBone& bone, TVector3 local);
TVector3 GamePointIntoBone(const TGameBone& bone, TVector3 point);
// The same for a direction: only turned.
TVector3 GameDirectionIntoBone(const TGameBone& bone, TVector3 direction);
