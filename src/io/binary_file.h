// A file opened for random-access reading whose every read is checked against its real size.
#pragma once

#include <cstdint>
#include <string>

class BinaryFile {
  public:
    // Throws FileError ("Cannot open file ...") when the file cannot be opened or is not a
    // regular file; folders, named pipes and devices are refused before they are opened.
    explicit BinaryFile(const std::string& fileName);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    std::int64_t size() const { return size_; }
    const std::string& name() const { return name_; }

    // True when `count` records of `recordSize` bytes starting at `offset` lie inside the
    // file. Negative values never fit; the arithmetic cannot overflow.
    bool Fits(std::int64_t offset, std::int64_t count, std::int64_t recordSize) const;

    // Reads exactly `bytes` bytes at `offset`; false when they are not all in the file or
    // the system reports an error.
    bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const;

  private:
    std::string name_;
    int fd_ = -1;
    std::int64_t size_ = 0;
};
