// A file opened for random-access reading whose every read is checked against its real size.
#pragma once

#include <cstdint>
#include <string>

#include "io/byte_source.h"

class BinaryFile final : public ByteSource {
  public:
    // Throws FileError ("Cannot open file ...") when the file cannot be opened or is not a
    // regular file; folders, named pipes and devices are refused before they are opened.
    explicit BinaryFile(const std::string& fileName);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    std::int64_t size() const override { return size_; }
    const std::string& name() const { return name_; }

    bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const override;

  private:
    std::string name_;
    int fd_ = -1;
    std::int64_t size_ = 0;
};
