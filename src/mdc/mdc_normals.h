// The 256 directions a compressed vertex's normal byte indexes, as the game's renderer holds
// them, and the game's own choice of an index for a direction.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr int kMDCNormalCount = 256;

TVector3 MDCNormal(std::uint8_t index);
// The MD3 normal words nearest to the table's entries, for holding a decoded MDC in an MD3.
const std::uint16_t* MDCNormalWords();
// The game's converter's pick: first the ring of entries whose height is nearest dir.z, then
// within that ring the entry with the largest dot product.
std::uint8_t MDCNormalIndex(TVector3 dir);
