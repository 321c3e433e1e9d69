// One extracted file. Its data goes into a file without a name in the target's folder, which
// gets the target's name only once complete: a damaged or refused entry, a full disk or a
// killed program never leaves a partial file under the final name (nor anywhere else), and
// never destroys the copy an earlier extraction made. An existing target is replaced, never
// written into, so a link in its place is replaced rather than followed. Where the system
// cannot make nameless files, a hidden temporary name is renamed over the target instead.
// Unlike the model writer it does not sync: these are cache copies of archive entries, and an
// extraction of thousands of them must not wait for the disk once per file.
#pragma once

#include <cstddef>
#include <string>

class TExtractionFolder;

class TExtractedFileWriter {
  public:
    // Opens the folder of `relativePath` below `folder` and the nameless file. On failure
    // ok() is false and error() says why.
    TExtractedFileWriter(TExtractionFolder& folder, const std::string& relativePath);
    // Removes the data unless Commit succeeded.
    ~TExtractedFileWriter();
    TExtractedFileWriter(const TExtractedFileWriter&) = delete;
    TExtractedFileWriter& operator=(const TExtractedFileWriter&) = delete;

    bool Write(const void* data, std::size_t bytes);
    // Gives the data the target's name, replacing what was there.
    bool Commit();

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    void Fail(int errorNumber);
    // Renames the named temporary file over the target.
    bool ReplaceTarget();

    int folderFd_ = -1;
    std::string name_;
    int fd_ = -1;
    // Empty while the data has no name.
    std::string tempName_;
    int signalHandle_ = -1;
    bool committed_ = false;
    std::string error_;
};
