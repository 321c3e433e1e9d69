// The MD3 file format: identifier, limits, scale and the on-disk records. All integers are
// little-endian; name fields are zero-padded and a full-length name has no terminator.
#pragma once

#include <bit>
#include <cstdint>

#include "math/vector.h"

static_assert(std::endian::native == std::endian::little,
              "model records are read and written as raw little-endian blocks");

inline constexpr char kMD3Ident[4] = {'I', 'D', 'P', '3'};
inline constexpr std::int32_t kMD3Version = 15;
// Stored positions are 1/64 units.
inline constexpr float kMD3XyzScale = 1.0f / 64.0f;

// The game's own limits, enforced by the importers (not by the reader or writer).
inline constexpr int kMD3MaxSurfaces = 32;
inline constexpr int kMD3MaxTriangles = 8192;
inline constexpr int kMD3MaxVerts = 1024;

inline constexpr int kMD3NameLength = 64;
inline constexpr int kMD3FrameNameLength = 16;

// The 108-byte file header.
struct TMD3HeaderRecord {
    char ident[4] = {};
    std::int32_t version = 0;
    char name[kMD3NameLength] = {};
    std::int32_t flags = 0;
    std::int32_t numFrames = 0;
    std::int32_t numTags = 0;
    std::int32_t numSurfaces = 0;
    std::int32_t numSkins = 0;
    std::int32_t ofsFrames = 0;
    std::int32_t ofsTags = 0;
    std::int32_t ofsSurfaces = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMD3HeaderRecord) == 108);

struct TMD3Frame {
    TVector3 minBounds;
    TVector3 maxBounds;
    TVector3 localOrigin;
    float radius = 0.0f;
    char name[kMD3FrameNameLength] = {};
};
static_assert(sizeof(TMD3Frame) == 56);

struct TMD3Tag {
    char name[kMD3NameLength] = {};
    TVector3 origin;
    TVector3 axis[3];
};
static_assert(sizeof(TMD3Tag) == 112);

// The 108-byte surface header. Its offsets are relative to the start of the surface and
// the next surface starts ofsEnd bytes after this one.
struct TMD3SurfaceRecord {
    char ident[4] = {};
    char name[kMD3NameLength] = {};
    std::int32_t flags = 0;
    std::int32_t numFrames = 0;
    std::int32_t numShaders = 0;
    std::int32_t numVerts = 0;
    std::int32_t numTriangles = 0;
    std::int32_t ofsTriangles = 0;
    std::int32_t ofsShaders = 0;
    std::int32_t ofsST = 0;
    std::int32_t ofsXyzNormals = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMD3SurfaceRecord) == 108);

struct TMD3Shader {
    char name[kMD3NameLength] = {};
    // In memory: the surface's row in the shader store (first record only), -1 for none.
    std::int32_t shaderIndex = 0;
};
static_assert(sizeof(TMD3Shader) == 68);

struct TMD3Triangle {
    std::int32_t indexes[3] = {};
};
static_assert(sizeof(TMD3Triangle) == 12);

// In memory t is held flipped (1 - t of the file); the reader and writer flip it.
struct TMD3TexCoord {
    float s = 0.0f;
    float t = 0.0f;
};
static_assert(sizeof(TMD3TexCoord) == 8);

struct TMD3Vertex {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t z = 0;
    std::uint16_t normal = 0;
};
static_assert(sizeof(TMD3Vertex) == 8);
