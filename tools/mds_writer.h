// MDS files built from an MDM/MDX pair, since no real MDS file is at hand: the pair's bones
// with a few tag bones added for the mesh's first tags, its frames, surfaces and tags. The
// conversion back to MDM/MDX can then be checked against the pair it came from.
#pragma once

#include <string>

#include "skeletal/mdm.h"
#include "skeletal/mds.h"
#include "skeletal/mdx.h"

// Bones 0 to numBones - 1 are the animation's; then one tag bone (flags 1) per tag of the
// mesh's first `tagBones` tags, hanging on the tag's bone at the tag's distance and turned as
// that bone in every frame. lodScale and lodBias keep their places, as in every MDS file.
TMDS AssembleMDS(const TMDM& mesh, const TMDX& anim, int tagBones);

// Writes header, frames, bones, surfaces and tags with fresh offsets; false when the file
// cannot be written.
bool WriteMDS(const TMDS& model, const std::string& path);
