// Feeds arbitrary bytes to the MD3 reader, and writes back whatever it accepts.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input_file.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("md3", data, size);
    if (path.empty()) return 0;
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
