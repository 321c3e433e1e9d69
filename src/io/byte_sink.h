// Where a writer puts the bytes of a file: a file that replaces its target only once it is
// complete, or memory, where a round trip needs no file at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteSink {
  public:
    virtual ~ByteSink() = default;

    // A failure is remembered and makes Finish fail.
    virtual void Write(const void* data, std::size_t bytes) = 0;
    // Completes what was written; false when anything failed, with the reason in error().
    virtual bool Finish() = 0;
    // The reason for the first failure, empty while all went well.
    virtual const std::string& error() const = 0;
};

// Collects everything written; it never fails.
class MemorySink final : public ByteSink {
  public:
    void Write(const void* data, std::size_t bytes) override {
        const auto* first = static_cast<const std::uint8_t*>(data);
        if (bytes > 0) bytes_.insert(bytes_.end(), first, first + bytes);
    }
    bool Finish() override { return true; }
    const std::string& error() const override { return error_; }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
    std::string error_;
};
