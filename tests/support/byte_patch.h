// Reading and patching little-endian 32-bit fields of a file image, for tests that damage
// the files the writers produce.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

inline std::int32_t GetI32(const Bytes& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

inline void PutI32(Bytes& b, std::size_t at, std::int32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

}  // namespace testing_support
