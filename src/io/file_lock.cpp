#include "io/file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool IsFileInUse(const std::string& path) {
    // Opening a named pipe would wait for a writer; only regular files hold locks that count.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    // Ask whether a write lock over the whole file could be had. Open-file-description locks
    // see the classic per-process locks of other programs as well as those of this one.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    const bool locked = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}
