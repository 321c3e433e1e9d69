// A skeleton for an MDM mesh that comes without its animation: every bone the mesh names,
// at the origin and unturned, in one frame. Posed with it, each vertex lies at its weighted
// offsets, which is as much of the mesh as the file alone holds.
#pragma once

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// The animation has as many bones as the highest bone index the mesh's weights, bone
// references and tags use, plus one (at least one bone); SkeletalPairProblem accepts the pair
// unless the mesh names a negative bone.
TMDX UnposedSkeletonFor(const TMDM& mesh);
