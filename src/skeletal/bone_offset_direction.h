// The direction in which a bone lies from its parent, as the game computes it.
#pragma once

#include <cstdint>

#include "math/vector.h"

// The unit vector (cos p cos y, cos p sin y, -sin p), in game coordinates, for the stored
// offset pitch p and yaw y. The game does not take exact sines here: it looks both angles up in
// its 1024-entry sine table (the top ten bits of the 16-bit angle, one turn spread over 1023
// steps). Exact sines move a hand by a few tenths of a unit against what the game draws, so
// the pose uses the table too.
TVector3 BoneOffsetDirection(std::int16_t pitch, std::int16_t yaw);
