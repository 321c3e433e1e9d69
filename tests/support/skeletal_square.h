// A skeletal pair small enough to reason about on screen: a chain of bones along +X, all
// angles zero, and one square surface hanging on the root bone. With zero angles the pose
// leaves a weight's offset where it is, so the drawing shows the square exactly at its
// offsets in the game's coordinates.
#pragma once

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

namespace testing_support {

struct SquarePairShape {
    float halfSide = 20.0f;  // the square spans -halfSide ... halfSide in x and y, at z = 0
    int bones = 2;           // bone i lies 10 * i units along +X
    int frames = 3;
    int surfaces = 1;
    int tags = 1;  // on the root bone, at (0, 5, 3)
};

void MakeSquarePair(TMDM& mesh, TMDX& anim, const SquarePairShape& shape = {});

}  // namespace testing_support
