#include "io/file_bytes.h"

#include "io/binary_file.h"

bool ReadFileBytes(const std::string& fileName, std::int64_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes.clear();
    const BinaryFile file(fileName);
    if (file.size() > maxBytes) {
        error = "the file is too large (" + std::to_string(file.size()) + " bytes)";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(file.size()));
    if (!file.ReadAt(0, bytes.data(), file.size())) {
        bytes.clear();
        error = "the file could not be read";
        return false;
    }
    return true;
}
