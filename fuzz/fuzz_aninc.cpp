// Feeds arbitrary text to the .aninc reader.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input_file.h"
#include "skeletal/aninc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("aninc", data, size);
    if (path.empty()) return 0;
    TANINC list;
    // A failed read leaves no half list behind.
    if (!list.LoadFromFile(path) && !list.frames.empty()) __builtin_trap();
    for (const TANINCFrame& entry : list.frames) {
        if (entry.name.empty()) __builtin_trap();
    }
    return 0;
}
