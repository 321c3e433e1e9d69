#include "assets/extracted_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "assets/extraction_folder.h"
#include "io/file_error.h"
#include "io/temporary_files.h"

namespace {

// Whether nameless files can get a name: that goes through /proc, which a chroot may lack.
bool CanNameTmpFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

}  // namespace

TExtractedFileWriter::TExtractedFileWriter(TExtractionFolder& folder,
                                           const std::string& relativePath) {
    const std::size_t slash = relativePath.rfind('/');
    const std::string parent = slash == std::string::npos ? "" : relativePath.substr(0, slash);
    name_ = slash == std::string::npos ? relativePath : relativePath.substr(slash + 1);
    folderFd_ = folder.Open(parent, error_);
    if (folderFd_ < 0) return;
    struct stat st {};
    if (::fstatat(folderFd_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
        Fail(EISDIR);
        return;
    }
    if (CanNameTmpFiles()) {
        fd_ = ::openat(folderFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) return;
    }
    // Kernels and file systems without nameless files.
    fd_ = CreateTemporaryFileAt(folderFd_, "", tempName_);
    if (fd_ < 0) {
        Fail(errno);
        return;
    }
    signalHandle_ = RegisterTemporaryFile(folderFd_, tempName_);
}

TExtractedFileWriter::~TExtractedFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tempName_.empty()) ::unlinkat(folderFd_, tempName_.c_str(), 0);
    ForgetTemporaryFile(signalHandle_);
}

void TExtractedFileWriter::Fail(int errorNumber) {
    if (error_.empty()) error_ = SystemErrorText(errorNumber);
}

bool TExtractedFileWriter::Write(const void* data, std::size_t bytes) {
    const char* next = static_cast<const char*>(data);
    while (ok() && bytes > 0) {
        const ssize_t put = ::write(fd_, next, bytes);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            Fail(put < 0 ? errno : EIO);
            break;
        }
        next += put;
        bytes -= static_cast<std::size_t>(put);
    }
    return ok();
}

bool TExtractedFileWriter::ReplaceTarget() {
    if (::renameat(folderFd_, tempName_.c_str(), folderFd_, name_.c_str()) != 0) {
        Fail(errno);
        return false;
    }
    committed_ = true;
    return true;
}

bool TExtractedFileWriter::Commit() {
    if (!ok() || committed_) return ok();
    if (tempName_.empty()) {
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
        // A new target takes the name at once; an existing one is replaced through a
        // temporary name, since a link never overwrites.
        if (::linkat(AT_FDCWD, self, folderFd_, name_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            committed_ = true;
        } else if (errno != EEXIST) {
            Fail(errno);
        } else {
            for (int attempt = 0; attempt < 100 && ok() && tempName_.empty(); ++attempt) {
                const std::string candidate = NewTemporaryName();
                if (::linkat(AT_FDCWD, self, folderFd_, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
                    0) {
                    tempName_ = candidate;
                    signalHandle_ = RegisterTemporaryFile(folderFd_, tempName_);
                } else if (errno != EEXIST) {
                    Fail(errno);
                }
            }
            if (ok() && tempName_.empty()) Fail(EEXIST);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
    if (ok() && !committed_) ReplaceTarget();
    return ok();
}
