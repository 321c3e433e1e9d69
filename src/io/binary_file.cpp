#include "io/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/file_error.h"

namespace {

// Opening a named pipe waits for a writer and opening a device may act on it, so anything
// but a regular file is refused before it is opened.
void RequireRegularFile(const std::string& fileName, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) throw FileError::CannotOpen(fileName, EISDIR);
    if (!S_ISREG(st.st_mode)) throw FileError::NotARegularFile(fileName);
}

}  // namespace

BinaryFile::BinaryFile(const std::string& fileName) : name_(fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) throw FileError::CannotOpen(fileName, errno);
    RequireRegularFile(fileName, st);
    // Non-blocking as well, should the name have been replaced by a pipe in between.
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) throw FileError::CannotOpen(fileName, errno);
    if (::fstat(fd_, &st) != 0) {
        const int error = errno;
        ::close(fd_);
        throw FileError::CannotOpen(fileName, error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        RequireRegularFile(fileName, st);
    }
    size_ = st.st_size;
}

BinaryFile::~BinaryFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool BinaryFile::ReadAt(std::int64_t offset, void* destination, std::int64_t bytes) const {
    if (!Fits(offset, bytes, 1)) return false;
    auto* out = static_cast<char*>(destination);
    while (bytes > 0) {
        const ssize_t got = ::pread(fd_, out, static_cast<size_t>(bytes), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += got;
        bytes -= got;
    }
    return true;
}
