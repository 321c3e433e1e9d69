// The edits offered on a loaded MDM/MDX pair: default bone names, scaled weights, and normals
// recalculated or smoothed from the posed mesh.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

class UserPrompts;

// The names of the 53 bones of the game's player skeleton, in bone order.
extern const std::array<const char*, 53> kDefaultBoneNames;

// Gives bone i the name i of kDefaultBoneNames. Only an animation of exactly 53 bones is
// renamed (true); any other is left alone (false).
bool SetDefaultBoneNames(TMDX& anim);

// Multiplies every weight of every vertex by `factor`, which scales the posed mesh about the
// origin while the bones stay. A factor of 1 changes nothing (false).
bool ScaleWeights(TMDM& mesh, float factor);

// "Scale Weights...": asks for the factor and scales. False when the box was cancelled, the
// text is not a number, or the number is 1.
bool AskAndScaleWeights(TMDM& mesh, UserPrompts& prompts);

// New stored normals for one surface from its triangles posed at `frame`: each vertex gets the
// normal of its first triangle, averaged (and normalized) with each later one, carried back
// through its weights into the bones' frames. A triangle that faces away from its own normal
// is turned round (first and third index swapped) and stays so. False, with nothing changed,
// when the frame or surface does not exist or the surface has no triangle or no vertex.
bool RecalculateNormals(TMDM& mesh, const TMDX& anim, std::uint32_t frame, std::uint32_t surface);

// "Recalculate Normals" for a skeletal model: every surface at `frame`.
void RecalculateAllNormals(TMDM& mesh, const TMDX& anim, std::uint32_t frame);

// "Smooth Current Surface": recalculates the surface's normals at frame 0, then vertices
// within 0.02 of each other on every axis share their averaged normal. The pose buffers hold
// frame 0 of the surface afterwards. False when the animation has no frames or the surface
// does not exist.
bool SmoothSurface(TMDM& mesh, const TMDX& anim, std::uint32_t surface);

// "Surface[\"<name>\"] smoothed.."
std::string SmoothedStatusText(const TMDM& mesh, std::uint32_t surface);
