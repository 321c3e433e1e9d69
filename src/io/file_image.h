// A whole file held in memory, read with the same checks as BinaryFile: for formats read in
// many small pieces, where one system call per piece would dominate the load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "io/byte_source.h"

class FileImage final : public ByteSource {
  public:
    // Throws FileError when the file cannot be opened. A file larger than `maxBytes` or one
    // that cannot be read leaves the image empty with the reason in error().
    FileImage(const std::string& fileName, std::int64_t maxBytes);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const override;

  private:
    std::vector<std::uint8_t> bytes_;
    std::string error_;
};
