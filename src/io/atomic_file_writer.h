// Writes a file so that the old one is never lost: the data goes to a temporary file in
// the same folder, which replaces the target only once everything was written and flushed.
// A target that is a symbolic link keeps the link: the file it points to is replaced.
#pragma once

#include <cstdint>
#include <string>

#include "io/byte_sink.h"

class AtomicFileWriter final : public ByteSink {
  public:
    // Throws FileError ("Cannot create file ...") naming the target when the temporary file
    // cannot be created (missing folder, no permission, a loop of links, ...) and when the
    // target is a folder, a pipe, a device or a socket, or links to one.
    explicit AtomicFileWriter(const std::string& targetName);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Buffered; a failure is remembered and makes Finish and Commit fail.
    void Write(const void* data, std::size_t bytes) override;
    bool ok() const { return ok_; }
    // The system's reason for the first failure, empty while all went well.
    const std::string& error() const override { return error_; }

    // Flushes, syncs and closes the temporary file without touching the target yet, so that
    // several files can be made ready before any of them replaces its target.
    bool Finish() override;
    // Finishes and renames the temporary file over the target.
    bool Commit();

  private:
    void WriteAll(const char* data, std::size_t bytes);
    void Flush();
    void Fail(int errorNumber);

    // The file finally written: the target with its symbolic links followed.
    std::string target_;
    std::string tempName_;
    int fd_ = -1;
    // The temporary file's registration for removal on Ctrl+C; -1 when not registered.
    int signalHandle_ = -1;
    bool ok_ = true;
    bool committed_ = false;
    std::string error_;
    std::string buffer_;
};
