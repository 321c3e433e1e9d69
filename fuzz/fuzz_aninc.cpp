// Feeds arbitrary text to the .aninc reader.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "skeletal/aninc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/veldra-fuzz-aninc-" +
        std::to_string(::getpid());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    TANINC list;
    // A failed read leaves no half list behind.
    if (!list.LoadFromFile(path) && !list.frames.empty()) __builtin_trap();
    for (const TANINCFrame& entry : list.frames) {
        if (entry.name.empty()) __builtin_trap();
    }
    return 0;
}
