#include "assets/extracted_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "io/file_error.h"

namespace fs = std::filesystem;

TExtractedFileWriter::TExtractedFileWriter(const std::string& target) : target_(target) {
    const fs::path path(target);
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    if (ec) {
        error_ = ec.message();
        return;
    }
    if (fs::is_directory(path, ec)) {
        Fail(EISDIR);
        return;
    }
    // Hidden and unmistakable, so an interrupted run leaves nothing that looks like data.
    const std::string folder = path.has_parent_path() ? path.parent_path().string() + "/" : "";
    std::string pattern = folder + "." + path.filename().string() + ".part-XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        Fail(errno);
        return;
    }
    tempName_ = pattern;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
}

TExtractedFileWriter::~TExtractedFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tempName_.empty()) ::unlink(tempName_.c_str());
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

bool TExtractedFileWriter::Commit() {
    if (!ok() || committed_) return ok();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
    if (ok() && ::rename(tempName_.c_str(), target_.c_str()) != 0) Fail(errno);
    committed_ = ok();
    return ok();
}
