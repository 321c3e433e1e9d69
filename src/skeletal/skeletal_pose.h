// SkeletalPose: one MDX frame applied to one MDM surface. Fills mesh.pose with the bone
// positions and matrices, the surface's posed vertex positions and normals, and the posed
// frames of every tag.
//
// The conventions are fixed, and the normal recalculation and LOD build on them:
// - a stored angle v is v * 360/65536 degrees, and both pitch values (angles[0] and
//   ofsAngles[0]) enter negated;
// - a bone matrix is RotationX(roll) * RotationY(-pitch) * RotationZ(yaw); a bone lies at its
//   parent's position plus parentDist along BoneOffsetDirection(ofsPitch, ofsYaw), and a root
//   at its frame's parent offset, both mirrored in y: where the game places them;
// - weight offsets, vertex normals, tag offsets and tag axes are mirrored in y on the way
//   in and transformed by the inverse bone matrix;
// - at the end every z is negated.
// The result is in "pose coordinates": the game's coordinates turned 180 degrees about X.
// skeletal_orientation.h turns them back for anything that must stand like a game model.
#pragma once

#include <cstdint>

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// Poses `surface` (an index outside the mesh poses no vertices, but bones and tags) at
// `frame`. A frame outside the animation changes nothing and gives false. Weights and tags
// whose bone does not exist are skipped and a bone whose parent is not an earlier bone is
// treated as a root, so nothing is ever read outside an array; SkeletalPairProblem tells the
// user about such files before they are posed.
bool SkeletalPose(TMDM& mesh, const TMDX& anim, std::uint32_t frame, std::uint32_t surface);
