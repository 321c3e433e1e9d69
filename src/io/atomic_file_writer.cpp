#include "io/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "io/file_error.h"
#include "io/temporary_files.h"

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kStraightOut = 1 << 16;
// As many links as the system itself follows before it reports a loop.
constexpr int kMaxLinkHops = 40;

// The path a write through `name` lands on: renaming over a link would replace the link
// itself and leave the file it points to as it was. A dangling link names the file to create.
std::string FollowLinks(const std::string& name) {
    namespace fs = std::filesystem;
    fs::path path = name;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path.string();
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) throw FileError::CannotCreate(name, ec.value());
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    throw FileError::CannotCreate(name, ELOOP);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& targetName)
    : target_(FollowLinks(targetName)) {
    // A new file keeps the mode of the one it replaces.
    mode_t mode = 0666;
    struct stat st {};
    const bool replacing = ::stat(target_.c_str(), &st) == 0;
    if (replacing) {
        // Refuse to replace a folder: rename() would fail only at the very end.
        if (S_ISDIR(st.st_mode)) throw FileError::CannotCreate(targetName, EISDIR);
        // A pipe or a device (a link to /dev/null, say) is someone's channel, not a file to
        // replace with ours.
        if (!S_ISREG(st.st_mode)) throw FileError::NotARegularTarget(targetName);
        mode = st.st_mode & 07777;
    }

    const std::string folder = std::filesystem::path(target_).parent_path().string();
    fd_ = CreateTemporaryFileAt(AT_FDCWD, folder, tempName_);
    if (fd_ < 0) throw FileError::CannotCreate(targetName, errno);
    signalHandle_ = RegisterTemporaryFile(AT_FDCWD, tempName_);
    if (replacing) {
        ::fchmod(fd_, mode);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, mode & ~mask);
    }
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tempName_.empty()) ::unlink(tempName_.c_str());
    ForgetTemporaryFile(signalHandle_);
}

void AtomicFileWriter::Fail(int errorNumber) {
    if (!ok_) return;
    ok_ = false;
    error_ = SystemErrorText(errorNumber);
}

void AtomicFileWriter::WriteAll(const char* data, std::size_t bytes) {
    while (ok_ && bytes > 0) {
        const ssize_t put = ::write(fd_, data, bytes);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            Fail(put < 0 ? errno : EIO);
            return;
        }
        data += put;
        bytes -= static_cast<std::size_t>(put);
    }
}

void AtomicFileWriter::Flush() {
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileWriter::Write(const void* data, std::size_t bytes) {
    if (!ok_ || bytes == 0) return;
    // Blocks of some size go straight out: copying them through the buffer costs more than
    // the call that writes them, and the buffer is for the many small records between them.
    if (bytes >= kStraightOut) {
        Flush();
        WriteAll(static_cast<const char*>(data), bytes);
        return;
    }
    if (buffer_.size() + bytes > kBufferSize) Flush();
    buffer_.append(static_cast<const char*>(data), bytes);
}

bool AtomicFileWriter::Finish() {
    if (fd_ < 0) return ok_;
    Flush();
    if (ok_ && ::fsync(fd_) != 0) Fail(errno);
    if (::close(fd_) != 0) Fail(errno);
    fd_ = -1;
    return ok_;
}

bool AtomicFileWriter::Commit() {
    if (committed_) return ok_;
    Finish();
    if (ok_ && ::rename(tempName_.c_str(), target_.c_str()) != 0) Fail(errno);
    if (!ok_) return false;
    committed_ = true;
    ForgetTemporaryFile(signalHandle_);
    signalHandle_ = -1;
    return true;
}
