// A whole file held in memory, read with the same checks as BinaryFile: for formats read in
// many small pieces, where one system call per piece would dominate the load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FileImage {
  public:
    // Throws FileError when the file cannot be opened. A file larger than `maxBytes` or one
    // that cannot be read leaves the image empty with the reason in error().
    FileImage(const std::string& fileName, std::int64_t maxBytes);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }

    // True when `count` records of `recordSize` bytes starting at `offset` lie inside the
    // file. Negative values never fit; the arithmetic cannot overflow.
    bool Fits(std::int64_t offset, std::int64_t count, std::int64_t recordSize) const;

    // Copies exactly `bytes` bytes at `offset`; false when they are not all in the file.
    bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const;

  private:
    std::vector<std::uint8_t> bytes_;
    std::string error_;
};
