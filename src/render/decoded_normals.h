// Every packed MD3 normal decoded once: drawing looks normals up instead of calling sin and
// cos for each vertex of each frame.
#pragma once

#include <cstdint>

#include "math/vector.h"

// The same value DecodeNormal gives, from a table built on first use.
const TVector3& DecodedNormal(std::uint16_t word);
