// The MDC file format: the game's compressed MD3. Frames are either base frames, stored as
// MD3 vertices, or compressed frames, stored per vertex as an offset from the frame's base
// frame in three bytes and a normal as an index into a table of 256 directions. Tags keep
// their origin in 1/64 units and their axes as three angles. All integers are little-endian.
#pragma once

#include <cstdint>

#include "md3/md3_format.h"

inline constexpr char kMDCIdent[4] = {'I', 'D', 'P', 'C'};
inline constexpr std::int32_t kMDCVersion = 2;
// The number the game's own files hold in a surface's identifier: the renderer's surface type
// of a compressed mesh, which its converter wrote there.
inline constexpr std::int32_t kMDCSurfaceIdent = 7;

// A compressed vertex's offset per axis is (byte - kMDCMaxOffset) x kMDCDistScale.
inline constexpr double kMDCDistScale = 0.05;
inline constexpr double kMDCMaxOffset = 127.0;
inline constexpr double kMDCMaxDist = kMDCMaxOffset * kMDCDistScale;
// A frame is compressed only while every vertex lands within this distance of where it is.
inline constexpr double kMDCMaxError = 0.1;
// Tag angles are stored in units of 360/32700 degrees.
inline constexpr double kMDCTagAngleScale = 360.0 / 32700.0;

// Frame indexes are stored as 16-bit numbers.
inline constexpr int kMDCMaxFrames = 32767;

// The 112-byte file header.
struct TMDCHeaderRecord {
    char ident[4] = {};
    std::int32_t version = 0;
    char name[kMD3NameLength] = {};
    std::int32_t flags = 0;
    std::int32_t numFrames = 0;
    std::int32_t numTags = 0;
    std::int32_t numSurfaces = 0;
    std::int32_t numSkins = 0;
    std::int32_t ofsFrames = 0;
    std::int32_t ofsTagNames = 0;
    std::int32_t ofsTags = 0;
    std::int32_t ofsSurfaces = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMDCHeaderRecord) == 112);

struct TMDCTagNameRecord {
    char name[kMD3NameLength] = {};
};
static_assert(sizeof(TMDCTagNameRecord) == 64);

struct TMDCTagRecord {
    std::int16_t xyz[3] = {};
    std::int16_t angles[3] = {};  // pitch, yaw, roll
};
static_assert(sizeof(TMDCTagRecord) == 12);

// The 124-byte surface header; offsets are relative to its start, and the next surface
// starts ofsEnd bytes after it.
struct TMDCSurfaceRecord {
    std::int32_t ident = 0;
    char name[kMD3NameLength] = {};
    std::int32_t flags = 0;
    std::int32_t numCompFrames = 0;
    std::int32_t numBaseFrames = 0;
    std::int32_t numShaders = 0;
    std::int32_t numVerts = 0;
    std::int32_t numTriangles = 0;
    std::int32_t ofsTriangles = 0;
    std::int32_t ofsShaders = 0;
    std::int32_t ofsST = 0;
    std::int32_t ofsXyzNormals = 0;
    std::int32_t ofsXyzCompressed = 0;
    std::int32_t ofsFrameBaseFrames = 0;
    std::int32_t ofsFrameCompFrames = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TMDCSurfaceRecord) == 124);

// A compressed vertex: the offset bytes of x, y and z in bits 0-23, the normal's table index
// in bits 24-31.
using TMDCCompressedVertex = std::uint32_t;
static_assert(sizeof(TMDCCompressedVertex) == 4);
