#include "io/temporary_files.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

constexpr int kNameAttempts = 100;
constexpr int kSlots = 64;

// Free, being changed, or naming a file the signal handler removes.
enum SlotState : int { kFree, kBusy, kActive };

struct Slot {
    std::atomic<int> state{kFree};
    int folderFd = AT_FDCWD;
    char name[PATH_MAX] = {};
};

Slot gSlots[kSlots];

}  // namespace

std::string NewTemporaryName() {
    // Unpredictable enough that two processes rarely collide; O_EXCL settles it when they do.
    static std::atomic<std::uint64_t> counter{
        static_cast<std::uint64_t>(::getpid()) << 32 ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::uint64_t value = counter.fetch_add(0x9e3779b97f4a7c15ull);
    value ^= value >> 29;
    value *= 0xbf58476d1ce4e5b9ull;
    value ^= value >> 32;
    static const char kHex[] = "0123456789abcdef";
    std::string name = ".veldra-";
    for (int i = 0; i < 8; ++i)
        name += kHex[(value >> (4 * i)) & 15];
    return name;
}

namespace {

void RemoveRegistered(int signalNumber) {
    for (Slot& slot : gSlots) {
        if (slot.state.load(std::memory_order_acquire) == kActive)
            ::unlinkat(slot.folderFd, slot.name, 0);
    }
    // The handler was reset on entry, so this stops the program once the handler returns.
    ::raise(signalNumber);
}

}  // namespace

int CreateTemporaryFileAt(int folderFd, const std::string& folder, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = NewTemporaryName();
        const std::string path =
            folderFd == AT_FDCWD && !folder.empty() ? folder + "/" + candidate : candidate;
        const int fd = ::openat(folderFd, path.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            name = path;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

int RegisterTemporaryFile(int folderFd, const std::string& name) {
    if (name.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!gSlots[i].state.compare_exchange_strong(expected, kBusy)) continue;
        gSlots[i].folderFd = folderFd;
        std::memcpy(gSlots[i].name, name.c_str(), name.size() + 1);
        gSlots[i].state.store(kActive, std::memory_order_release);
        return i;
    }
    return -1;
}

void ForgetTemporaryFile(int handle) {
    if (handle < 0 || handle >= kSlots) return;
    gSlots[handle].state.store(kFree, std::memory_order_release);
}

void RemoveTemporaryFilesOnInterrupt() {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (::sigaction(signalNumber, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = RemoveRegistered;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signalNumber, &action, nullptr);
    }
}
