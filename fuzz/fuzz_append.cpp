// Feeds arbitrary bytes as the other file of a frame append: to the cube built in code (so
// that near-valid inputs reach the copy) and, when the bytes load as a model, to that model
// itself. A refused file must leave the model untouched; an accepted one must be writable.
#include <cstdint>
#include <string>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "md3/md3.h"
#include "model_factory.h"

namespace {

void AppendBoth(TMD3& model, const ByteSource& input) {
    for (bool all : {false, true}) {
        const std::int32_t frames = model.header.numFrames;
        std::string message;
        const bool ok = model.AppendFramesFrom(input, "fuzz.md3", all, message);
        if (ok != message.empty()) __builtin_trap();
        if (!ok && model.header.numFrames != frames) __builtin_trap();
        MemorySink out;
        if (ok && !model.WriteTo(out)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryBytes input({data, size});
    TMD3 cube;
    MakeCube(cube);
    AppendBoth(cube, input);
    TMD3 self;
    if (self.LoadFrom(input)) AppendBoth(self, input);
    return 0;
}
