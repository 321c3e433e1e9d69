// A glTF joint's place and turn as the MDX stores a bone: three 16-bit angles for the turn,
// and the direction from its parent as the two 16-bit angles the game looks up in its sine
// table.
#pragma once

#include <cstdint>

#include "math/vector.h"
#include "skeletal/mdx_format.h"

// A rotation in game coordinates, as the images of the game's x, y and z axes (columns), the
// way the skeletal pose turns a weight's offset.
struct TGameRotation {
    TVector3 column[3];
};

// The angles (pitch, yaw, roll in angles[0..2]) whose pose turns offsets by `rotation`.
void EncodeBoneRotation(const TGameRotation& rotation, TMDXBoneFrame& frame);

// The offset angles (pitch, yaw) whose table direction comes nearest to `direction` (any
// length but zero).
void EncodeBoneDirection(TVector3 direction, TMDXBoneFrame& frame);

// The transpose: what turns a posed vector back into the bone's frame.
TVector3 IntoBoneFrame(const TGameRotation& rotation, TVector3 v);
TVector3 OutOfBoneFrame(const TGameRotation& rotation, TVector3 v);
