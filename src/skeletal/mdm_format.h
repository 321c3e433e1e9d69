// The MDM file format: the mesh half of a skeletal player model. Vertices are not stored as
// positions but as bone weights with offsets in the bone's frame; an MDX animation supplies
// the bones. All numbers are little-endian; name fields are zero-padded and a full-length name
// has no terminator. Offsets inside a surface are relative to the start of its header.
#pragma once

#include <bit>
#include <cstdint>

#include "math/vector.h"

static_assert(std::endian::native == std::endian::little,
              "model records are read and written as raw little-endian blocks");

inline constexpr char kMDMIdent[4] = {'M', 'D', 'M', 'W'};
inline constexpr int kMDMNameLength = 64;

// The game's limits. Files beyond them are loaded only when the user says so.
inline constexpr std::uint32_t kMDMMaxSurfaces = 32;
inline constexpr std::uint32_t kMDMMaxTags = 128;
inline constexpr std::uint32_t kMDMMaxVertices = 6000;
inline constexpr std::uint32_t kMDMMaxTriangles = 8192;

// The 100-byte file header.
struct TMDMHeader {
    char ident[4] = {};
    std::int32_t version = 0;
    char name[kMDMNameLength] = {};
    float lodScale = 0.0f;
    float lodBias = 0.0f;
    std::uint32_t numSurfaces = 0;
    std::int32_t ofsSurfaces = 0;
    std::uint32_t numTags = 0;
    std::int32_t ofsTags = 0;
    std::int32_t ofsEnd = 0;  // the file size
};
static_assert(sizeof(TMDMHeader) == 100);

// The 176-byte surface header; the next surface starts ofsEnd bytes after it.
struct TMDMSurfaceHeader {
    char ident[4] = {};
    char name[kMDMNameLength] = {};
    char shader[kMDMNameLength] = {};
    // In memory: the surface's entry in the shader store, -1 for none. The file's value is
    // meaningless and stays until the shader lookup sets it.
    std::int32_t shaderIndex = 0;
    std::int32_t minLod = 0;     // the fewest vertices the surface may be reduced to
    std::int32_t ofsHeader = 0;  // back to the start of the file (negative)
    std::uint32_t numVerts = 0;
    std::int32_t ofsVerts = 0;
    std::uint32_t numTriangles = 0;
    std::int32_t ofsTriangles = 0;
    std::int32_t ofsCollapseMap = 0;
    std::uint32_t numBoneReferences = 0;
    std::int32_t ofsBoneReferences = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMDMSurfaceHeader) == 176);

// The fixed part of a vertex; numWeights weights follow it directly in the file.
struct TMDMVertexRecord {
    TVector3 normal;
    float texCoords[2] = {};  // s, t as in the file (not flipped)
    std::int32_t numWeights = 0;
};
static_assert(sizeof(TMDMVertexRecord) == 24);

struct TMDMWeight {
    std::int32_t boneIndex = 0;
    float boneWeight = 0.0f;
    TVector3 offset;  // the vertex relative to the bone, in the bone's frame
};
static_assert(sizeof(TMDMWeight) == 20);

struct TMDMTriangle {
    std::int32_t indexes[3] = {};
};
static_assert(sizeof(TMDMTriangle) == 12);

// Entry i: the vertex that vertex i collapses to when the surface keeps fewer than i + 1.
using TMDMCollapseMap = std::uint32_t;
static_assert(sizeof(TMDMCollapseMap) == 4);

// A bone that the surface's (or tag's) weights depend on.
using TMDMSurfaceBoneRefs = std::uint32_t;
static_assert(sizeof(TMDMSurfaceBoneRefs) == 4);

// The 128-byte tag record; numBoneReferences references follow it directly in the file.
struct TMDMTagRecord {
    char name[kMDMNameLength] = {};
    TVector3 axis[3];
    std::int32_t boneIndex = 0;
    TVector3 offset;  // the tag origin relative to its bone
    std::uint32_t numBoneReferences = 0;
    std::int32_t ofsBoneReferences = 0;  // carried through as read
    std::int32_t ofsEnd = 0;             // carried through as read
};
static_assert(sizeof(TMDMTagRecord) == 128);
