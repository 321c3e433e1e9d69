// The packed two-byte MD3 vertex normal: high byte azimuth around Z, low byte inclination
// from +Z, both in units of 2*pi/255. Word 0 is +Z and 0x8000 is -Z.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr std::uint16_t kNormalPosZ = 0x0000;
inline constexpr std::uint16_t kNormalNegZ = 0x8000;

TVector3 DecodeNormal(std::uint16_t word);
std::uint16_t EncodeNormal(TVector3 v);
inline std::uint16_t EncodeNormal(float x, float y, float z) {
    return EncodeNormal({x, y, z});
}
