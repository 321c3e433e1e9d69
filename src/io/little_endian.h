// Little-endian field access for file records held in memory (image headers, archive
// directories). Callers check the bounds.
#pragma once

#include <cstdint>

inline std::uint16_t LoadU16LE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadU32LE(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline std::uint64_t LoadU64LE(const std::uint8_t* p) {
    return std::uint64_t{LoadU32LE(p)} | (std::uint64_t{LoadU32LE(p + 4)} << 32);
}

inline std::int32_t LoadI32LE(const std::uint8_t* p) {
    return static_cast<std::int32_t>(LoadU32LE(p));
}
