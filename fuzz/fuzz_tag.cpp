// Feeds arbitrary bytes to the tag-file reader on a one-frame and a three-frame model, and
// saves back whatever it accepts.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input_file.h"
#include "md3/md3.h"

namespace {

void Prepare(TMD3& model, int frames) {
    model.Clear();
    model.header.numFrames = frames;
    model.header.frames.resize(static_cast<std::size_t>(frames));
    model.header.numTags = 1;
    model.header.tags.resize(static_cast<std::size_t>(frames));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("tag", data, size);
    if (path.empty()) return 0;
    for (int frames : {1, 3}) {
        TMD3 model;
        Prepare(model, frames);
        if (!model.LoadTagsFromFile(path)) {
            // A rejected file must leave the model as it was.
            if (model.header.numTags != 1 || model.header.tags.size() != std::size_t(frames))
                __builtin_trap();
            continue;
        }
        const std::size_t expected = static_cast<std::size_t>(frames) * model.header.numTags;
        if (model.header.tags.size() != expected) __builtin_trap();
        if (!model.SaveTagsToFile(path + ".out")) __builtin_trap();
    }
    return 0;
}
