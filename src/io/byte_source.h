// What a reader needs of a file: its size and checked reads at an offset. A file on disk and
// bytes already in memory (an archive entry, a fuzz input) both provide it, so one parser
// serves both.
#pragma once

#include <cstdint>
#include <span>

class ByteSource {
  public:
    virtual ~ByteSource() = default;

    virtual std::int64_t size() const = 0;

    // Reads exactly `bytes` bytes at `offset`; false when they are not all there or the
    // system reports an error.
    virtual bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const = 0;

    // True when `count` records of `recordSize` bytes starting at `offset` lie inside the
    // source. Negative values never fit; the arithmetic cannot overflow.
    bool Fits(std::int64_t offset, std::int64_t count, std::int64_t recordSize) const {
        if (offset < 0 || count < 0 || recordSize <= 0 || offset > size()) return false;
        return count <= (size() - offset) / recordSize;
    }
};

// Bytes the caller holds, read in place; they must outlive the view.
class MemoryBytes final : public ByteSource {
  public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    bool ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const override;
    std::span<const std::uint8_t> bytes() const { return bytes_; }

  private:
    std::span<const std::uint8_t> bytes_;
};
