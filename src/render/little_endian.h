// Little-endian field access for image headers held in memory. Callers check the bounds.
#pragma once

#include <cstdint>

inline std::uint16_t LoadU16LE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadU32LE(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline std::int32_t LoadI32LE(const std::uint8_t* p) {
    return static_cast<std::int32_t>(LoadU32LE(p));
}
