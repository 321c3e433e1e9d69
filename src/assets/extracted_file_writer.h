// One extracted file, written under a temporary name beside its target and renamed over it
// only when complete, so a damaged or refused entry never leaves a partial file behind and
// never destroys the copy an earlier extraction made. Unlike the model writer it does not
// sync: these are cache copies of archive entries, and an extraction of thousands of them
// must not wait for the disk once per file.
#pragma once

#include <cstddef>
#include <string>

class TExtractedFileWriter {
  public:
    // Creates the target's folders and the temporary file. On failure ok() is false and
    // error() says why.
    explicit TExtractedFileWriter(const std::string& target);
    // Removes the temporary file unless Commit succeeded.
    ~TExtractedFileWriter();
    TExtractedFileWriter(const TExtractedFileWriter&) = delete;
    TExtractedFileWriter& operator=(const TExtractedFileWriter&) = delete;

    bool Write(const void* data, std::size_t bytes);
    // Closes the temporary file and renames it over the target.
    bool Commit();

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    void Fail(int errorNumber);

    std::string target_;
    std::string tempName_;
    int fd_ = -1;
    bool committed_ = false;
    std::string error_;
};
