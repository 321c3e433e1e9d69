// The MDX file format: the animation half of a skeletal player model, a list of bones and
// for every frame a compressed rotation per bone. All numbers are little-endian.
#pragma once

#include <bit>
#include <cstdint>

#include "math/vector.h"

static_assert(std::endian::native == std::endian::little,
              "model records are read and written as raw little-endian blocks");

inline constexpr char kMDXIdent[4] = {'M', 'D', 'X', 'W'};
inline constexpr int kMDXNameLength = 64;

// A stored angle v means v * 360/65536 degrees.
inline constexpr double kMDXAngleScale = 360.0 / 65536.0;

// The 96-byte file header.
struct TMDXHeader {
    char ident[4] = {};
    std::int32_t version = 0;
    char name[kMDXNameLength] = {};
    std::uint32_t numFrames = 0;
    std::uint32_t numBones = 0;
    std::int32_t ofsFrames = 0;
    std::int32_t ofsBones = 0;
    std::int32_t torsoParent = 0;  // carried through; the pose does not use it
    std::int32_t ofsEnd = 0;       // the file size
};
static_assert(sizeof(TMDXHeader) == 96);

// The 52-byte frame record; numBones bone frames follow it directly in the file. None of it
// is used by the pose; the export to MD3 copies bounds, origin and radius.
struct TMDXFrameRecord {
    TVector3 minBounds;
    TVector3 maxBounds;
    TVector3 localOrigin;
    float radius = 0.0f;
    TVector3 parentOffset;
};
static_assert(sizeof(TMDXFrameRecord) == 52);

struct TMDXBoneFrame {
    std::int16_t angles[4] = {};     // pitch, yaw, roll; [3] unused
    std::int16_t ofsAngles[2] = {};  // pitch and yaw of the offset to the parent
};
static_assert(sizeof(TMDXBoneFrame) == 12);

struct TMDXBoneInfo {
    char name[kMDXNameLength] = {};
    std::int32_t parent = -1;  // -1 for a root; the pose needs parents before their children
    float torsoWeight = 0.0f;
    float parentDist = 0.0f;
    std::int32_t flags = 0;
};
static_assert(sizeof(TMDXBoneInfo) == 80);
