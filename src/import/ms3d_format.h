// The MilkShape 3D binary format (.ms3d): identifier, limits and the fixed-size records. All
// values are little-endian and packed without padding; counts are unsigned 16-bit.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr char kMS3DIdent[10] = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'};
inline constexpr int kMS3DHeaderSize = 14;
inline constexpr int kMS3DNameLength = 32;
inline constexpr int kMS3DTextureNameLength = 128;
// A group's material index that stands for "no material".
inline constexpr std::uint8_t kMS3DNoMaterial = 255;

#pragma pack(push, 1)

struct TMS3DVertex {
    std::uint8_t flags = 0;
    TVector3 position;
    std::int8_t boneIndex = 0;
    std::uint8_t referenceCount = 0;
};
static_assert(sizeof(TMS3DVertex) == 15);

struct TMS3DTriangle {
    std::uint16_t flags = 0;
    std::uint16_t vertexIndices[3] = {};
    TVector3 vertexNormals[3];
    float s[3] = {};
    float t[3] = {};
    std::uint8_t smoothingGroup = 0;
    std::uint8_t groupIndex = 0;
};
static_assert(sizeof(TMS3DTriangle) == 70);

// The part of a group that precedes its triangle indices.
struct TMS3DGroupHead {
    std::uint8_t flags = 0;
    char name[kMS3DNameLength] = {};
    std::uint16_t numTriangles = 0;
};
static_assert(sizeof(TMS3DGroupHead) == 35);

struct TMS3DMaterial {
    char name[kMS3DNameLength] = {};
    float ambient[4] = {};
    float diffuse[4] = {};
    float specular[4] = {};
    float emissive[4] = {};
    float shininess = 0.0f;
    float transparency = 0.0f;
    std::int8_t mode = 0;
    char texture[kMS3DTextureNameLength] = {};
    char alphaMap[kMS3DTextureNameLength] = {};
};
static_assert(sizeof(TMS3DMaterial) == 361);

// The part of a joint that precedes its key frames.
struct TMS3DJointHead {
    std::uint8_t flags = 0;
    char name[kMS3DNameLength] = {};
    char parentName[kMS3DNameLength] = {};
    TVector3 rotation;
    TVector3 position;
    std::uint16_t numRotationKeys = 0;
    std::uint16_t numTranslationKeys = 0;
};
static_assert(sizeof(TMS3DJointHead) == 93);

struct TMS3DKeyframe {
    float time = 0.0f;
    TVector3 value;
};
static_assert(sizeof(TMS3DKeyframe) == 16);

struct TMS3DAnimation {
    float framesPerSecond = 0.0f;
    float currentTime = 0.0f;
    std::int32_t totalFrames = 0;
};
static_assert(sizeof(TMS3DAnimation) == 12);

#pragma pack(pop)
