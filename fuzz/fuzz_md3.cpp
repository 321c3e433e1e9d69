// Feeds arbitrary bytes to the MD3 reader, and writes back whatever it accepts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // tmpfs when there is one: the writer syncs every file it commits.
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/veldra-fuzz-md3-" +
        std::to_string(::getpid());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    TMD3 model, layout;
    const bool loaded = model.LoadFromFile(path);
    // Listing a file skips the vertices but must accept and refuse exactly the same files.
    if (layout.LoadLayoutFromFile(path) != loaded) __builtin_trap();
    if (loaded) {
        if (!model.SaveToFile(path + ".out")) __builtin_trap();
        TMD3 again;
        if (!again.LoadFromFile(path + ".out")) __builtin_trap();
    }
    return 0;
}
