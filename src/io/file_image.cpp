#include "io/file_image.h"

#include <cstring>

#include "io/file_bytes.h"

FileImage::FileImage(const std::string& fileName, std::int64_t maxBytes) {
    if (!ReadFileBytes(fileName, maxBytes, bytes_, error_) && error_.empty()) {
        error_ = "the file could not be read";
    }
}

bool FileImage::ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const {
    if (!Fits(offset, bytes, 1)) return false;
    if (bytes > 0)
        std::memcpy(destination, bytes_.data() + offset, static_cast<std::size_t>(bytes));
    return true;
}
