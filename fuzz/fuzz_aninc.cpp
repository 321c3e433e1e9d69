// Feeds arbitrary text to the .aninc reader.
#include <cstdint>
#include <string_view>

#include "skeletal/aninc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TANINC list;
    // A failed read leaves no half list behind.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!list.LoadFromText(text, "fuzz.aninc") && !list.frames.empty()) __builtin_trap();
    for (const TANINCFrame& entry : list.frames) {
        if (entry.name.empty()) __builtin_trap();
    }
    return 0;
}
