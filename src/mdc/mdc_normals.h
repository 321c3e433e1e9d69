// The 256 directions a compressed vertex's normal byte indexes, as the game's renderer holds
// them, and the game's own choice of an index for a direction.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr int kMDCNormalCount = 256;

TVector3 MDCNormal(std::uint8_t index);
// The MD3 normal word nearest to table entry `index`, for holding a decoded MDC in an MD3.
std::uint16_t MDCNormalWord(std::uint8_t index);
// The game's converter's pick: first the ring of entries whose height is nearest dir.z, then
// within that ring the entry with the largest dot product.
std::uint8_t MDCNormalIndex(TVector3 dir);
