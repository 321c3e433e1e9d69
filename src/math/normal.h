// The packed two-byte MD3 vertex normal: high byte azimuth around Z, low byte inclination
// from +Z, both in 256ths of a turn. Decoding is the game renderer's own, through its table
// of 1024 sines, so what is drawn, checked and re-encoded is what the game lights.
// Word 0 is +Z; the game's files store -Z as 0x0080.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr std::uint16_t kNormalPosZ = 0x0000;
inline constexpr std::uint16_t kNormalNegZ = 0x0080;

TVector3 DecodeNormal(std::uint16_t word);
// The word whose decoded direction is nearest to v (the game's decode). A zero or non-finite
// vector gives +Z.
std::uint16_t EncodeNormal(TVector3 v);
inline std::uint16_t EncodeNormal(float x, float y, float z) {
    return EncodeNormal({x, y, z});
}

// Mirroring and negating on the word itself: exact, and undone by doing it again, where a
// decode and re-encode would land a fraction of a degree off on the skewed grid. axis 0 flips
// X (azimuth to half a turn minus it), 1 flips Y (azimuth negated), 2 flips Z (inclination to
// half a turn minus it).
std::uint16_t MirrorNormal(std::uint16_t word, int axis);
std::uint16_t NegateNormal(std::uint16_t word);
