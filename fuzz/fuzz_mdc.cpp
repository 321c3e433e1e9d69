// Feeds arbitrary bytes to the MDC reader from memory. Whatever it accepts is written back
// unchanged, and compressed anew from what was decoded; both must read again.
#include <cstdint>
#include <string>
#include <vector>

#include "mdc/mdc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> input(data, data + size);
    TMD3 model;
    if (!model.LoadMDCFromMemory(input)) return 0;
    std::vector<char> bytes;
    std::string error;
    if (!MDCFileBytes(model, bytes, error) || bytes != input) __builtin_trap();
    // Without what was read, the writer compresses the decoded model itself.
    model.mdcAsRead.reset();
    if (!MDCFileBytes(model, bytes, error)) return 0;  // e.g. more frames than MDC holds
    TMD3 again;
    if (!again.LoadMDCFromMemory(std::move(bytes))) __builtin_trap();
    if (again.header.numFrames != model.header.numFrames ||
        again.header.numSurfaces != model.header.numSurfaces) {
        __builtin_trap();
    }
    return 0;
}
