#include "io/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/file_error.h"

BinaryFile::BinaryFile(const std::string& fileName) : name_(fileName) {
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw FileError::CannotOpen(fileName, errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        throw FileError::CannotOpen(fileName, error != 0 ? error : EINVAL);
    }
    size_ = st.st_size;
}

BinaryFile::~BinaryFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool BinaryFile::Fits(std::int64_t offset, std::int64_t count, std::int64_t recordSize) const {
    if (offset < 0 || count < 0 || recordSize <= 0 || offset > size_) return false;
    return count <= (size_ - offset) / recordSize;
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
