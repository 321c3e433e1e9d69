// Turning a loaded MDS model into the MDM mesh and MDX animation as which it is then drawn,
// exported, given LOD data and saved. Tag bones (bones with flags) leave the skeleton and
// become the mesh's tags; the other bones keep their order under new indices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skeletal/mdm.h"
#include "skeletal/mds.h"
#include "skeletal/mdx.h"

// The frame the tags are taken from: 3812, where the game's player animation stands still,
// when the model has that many frames beyond it, else 0.
inline constexpr std::uint32_t kMDSConversionFrame = 3812;

struct TMDSConversion {
    // New index of each MDS bone, -1 for a tag bone.
    std::vector<std::int32_t> boneMap;
    // The frame the tag frames, and the offsets of weights moved off tag bones, are taken from.
    std::uint32_t frame = 0;
    // What could not be carried over exactly: weights, references, parents or tags that name
    // a tag bone or no bone at all, and a tag count that differs from the tag bones.
    std::vector<std::string> notes;
};

// Empties and refills `mesh` and `anim` from `mds`. Anything that would name a tag bone is
// moved to the nearest kept ancestor (or dropped when there is none), so the result never
// holds a bone index of -1; each such change is listed in the notes.
TMDSConversion ConvertMDS(const TMDS& mds, TMDM& mesh, TMDX& anim);
