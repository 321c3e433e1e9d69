// Feeds arbitrary bytes to the MD3 reader, and writes back whatever it accepts. Everything
// stays in memory: the file's bytes are read where they lie and written into a buffer.
#include <cstdint>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryBytes input({data, size});
    TMD3 model, layout;
    const bool loaded = model.LoadFrom(input);
    // Listing a file skips the vertices but must accept and refuse exactly the same files.
    if (layout.LoadLayoutFrom(input) != loaded) __builtin_trap();
    if (loaded) {
        MemorySink out;
        if (!model.WriteTo(out)) __builtin_trap();
        TMD3 again;
        if (!again.LoadFrom(MemoryBytes(out.bytes()))) __builtin_trap();
    }
    return 0;
}
