// The MDS file format: the older single-file skeletal model holding mesh, bones, tags and
// animation frames together. Bones with flags are tag bones. All numbers are little-endian;
// surface headers, weights, triangles, collapse maps, bones and frames are laid out as in MDM
// and MDX files.
#pragma once

#include <bit>
#include <cstdint>

#include "math/vector.h"
#include "skeletal/mdm_format.h"
#include "skeletal/mdx_format.h"

static_assert(std::endian::native == std::endian::little,
              "model records are read and written as raw little-endian blocks");

inline constexpr char kMDSIdent[4] = {'M', 'D', 'S', 'W'};

// The 120-byte file header.
struct TMDSHeader {
    char ident[4] = {};
    std::int32_t version = 0;
    char name[kMDMNameLength] = {};
    float lodScale = 0.0f;
    float lodBias = 0.0f;
    std::uint32_t numFrames = 0;
    std::uint32_t numBones = 0;
    std::int32_t ofsFrames = 0;
    std::int32_t ofsBones = 0;
    std::int32_t torsoParent = 0;
    std::uint32_t numSurfaces = 0;
    std::int32_t ofsSurfaces = 0;
    std::uint32_t numTags = 0;
    std::int32_t ofsTags = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMDSHeader) == 120);

// The fixed part of a vertex; numWeights weights (laid out as TMDMWeight) follow it.
struct TMDSVertexRecord {
    TVector3 normal;
    float texCoords[2] = {};
    std::int32_t numWeights = 0;
    std::int32_t fixedParent = 0;
    float fixedDist = 0.0f;
};
static_assert(sizeof(TMDSVertexRecord) == 32);

// A tag names the bone that stands for it.
struct TMDSTag {
    char name[kMDMNameLength] = {};
    float torsoWeight = 0.0f;  // carried, not used
    std::int32_t boneIndex = 0;
};
static_assert(sizeof(TMDSTag) == 72);
