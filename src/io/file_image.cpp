#include "io/file_image.h"

#include <cstring>

#include "io/file_bytes.h"

FileImage::FileImage(const std::string& fileName, std::int64_t maxBytes) {
    if (!ReadFileBytes(fileName, maxBytes, bytes_, error_) && error_.empty()) {
        error_ = "the file could not be read";
    }
}

bool FileImage::Fits(std::int64_t offset, std::int64_t count, std::int64_t recordSize) const {
    if (offset < 0 || count < 0 || recordSize <= 0 || offset > size()) return false;
    return count <= (size() - offset) / recordSize;
}

bool FileImage::ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const {
    if (!Fits(offset, bytes, 1)) return false;
    if (bytes > 0)
        std::memcpy(destination, bytes_.data() + offset, static_cast<std::size_t>(bytes));
    return true;
}
