#include "assets/extraction_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "io/file_error.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

TExtractionFolder::TExtractionFolder(std::string root) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
}

TExtractionFolder::~TExtractionFolder() {
    if (openFd_ >= 0 && openFd_ != rootFd_) ::close(openFd_);
    if (rootFd_ >= 0) ::close(rootFd_);
}

std::string TExtractionFolder::PathOf(const std::string& relative) const {
    if (root_.empty()) return relative;
    return root_ == "/" ? "/" + relative : root_ + "/" + relative;
}

int TExtractionFolder::OpenRoot(std::string& error) {
    if (rootFd_ >= 0) return rootFd_;
    const std::string root = root_.empty() ? "." : root_;
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    rootFd_ = ::open(root.c_str(), kFolderFlags);
    if (rootFd_ < 0) error = SystemErrorText(errno);
    return rootFd_;
}

int TExtractionFolder::Open(const std::string& relative, std::string& error) {
    if (openFd_ >= 0 && openName_ == relative) return openFd_;
    if (OpenRoot(error) < 0) return -1;
    if (openFd_ >= 0 && openFd_ != rootFd_) ::close(openFd_);
    openFd_ = -1;
    openName_.clear();

    int fd = rootFd_;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t slash = relative.find('/', start);
        if (slash == std::string::npos) slash = relative.size();
        const std::string part = relative.substr(start, slash - start);
        const std::string walked = relative.substr(0, slash);
        start = slash + 1;
        // Opened first: on a second extraction every folder is there already.
        int next = ::openat(fd, part.c_str(), kFolderFlags | O_NOFOLLOW);
        if (next < 0 && errno == ENOENT) {
            if (::mkdirat(fd, part.c_str(), 0777) == 0 || errno == EEXIST)
                next = ::openat(fd, part.c_str(), kFolderFlags | O_NOFOLLOW);
        }
        if (next >= 0) {
            if (fd != rootFd_) ::close(fd);
            fd = next;
            continue;
        }
        {
            const int openError = errno;
            struct stat st {};
            const bool link =
                ::fstatat(fd, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
            if (link) {
                error = "\"" + walked +
                        "\" inside the target folder is a symbolic link, which extraction never "
                        "writes through";
            } else if (openError == ENOTDIR) {
                error = "\"" + walked + "\" inside the target folder is not a folder";
            } else {
                error =
                    "its folder \"" + walked + "\" cannot be opened: " + SystemErrorText(openError);
            }
        }
        if (fd != rootFd_) ::close(fd);
        return -1;
    }
    openFd_ = fd;
    openName_ = relative;
    return fd;
}
