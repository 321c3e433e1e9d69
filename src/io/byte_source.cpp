#include "io/byte_source.h"

#include <cstring>

bool MemoryBytes::ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const {
    if (!Fits(offset, bytes, 1)) return false;
    if (bytes > 0)
        std::memcpy(destination, bytes_.data() + offset, static_cast<std::size_t>(bytes));
    return true;
}
