// Feeds arbitrary bytes as the other file of a frame append: to the cube built in code (so
// that near-valid inputs reach the copy) and, when the bytes load as a model, to that model
// itself. A refused file must leave the model untouched; an accepted one must save and load.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input_file.h"
#include "md3/md3.h"
#include "model_factory.h"

namespace {

void AppendBoth(TMD3& model, const std::string& path) {
    for (bool all : {false, true}) {
        const std::int32_t frames = model.header.numFrames;
        std::string message;
        const bool ok = all ? model.AppendAllFramesFromFile(path, message)
                            : model.AppendFirstFrameFromFile(path, message);
        if (ok != message.empty()) __builtin_trap();
        if (!ok && model.header.numFrames != frames) __builtin_trap();
        if (ok && !model.SaveToFile(path + ".out")) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("append", data, size);
    if (path.empty()) return 0;
    TMD3 cube;
    MakeCube(cube);
    AppendBoth(cube, path);
    TMD3 self;
    if (self.LoadFromFile(path)) AppendBoth(self, path);
    return 0;
}
