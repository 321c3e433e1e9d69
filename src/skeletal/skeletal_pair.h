// Whether an MDM mesh can be posed with an MDX animation: every bone the mesh names must
// exist in the animation, and the animation must be whole. Loading commands ask this after
// each load that changes the pair and refuse the file with the reason, so that no pose ever
// meets a bone it does not have.
#pragma once

#include <string>

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// Empty when the pair can be posed, else the first reason it cannot, for example
// "surface 0 (\"u_body\"), vertex 12: bone index 60 outside the animation's 53 bones".
std::string SkeletalPairProblem(const TMDM& mesh, const TMDX& anim);
