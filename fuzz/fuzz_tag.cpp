// Feeds arbitrary bytes to the tag-file reader on a one-frame and a three-frame model, and
// writes back whatever it accepts.
#include <cstdint>
#include <string>
#include <vector>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "md3/md3.h"
#include "md3/md3_tag_file.h"

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
    const MemoryBytes input({data, size});
    for (int frames : {1, 3}) {
        TMD3 model;
        Prepare(model, frames);
        if (!model.LoadTagsFrom(input)) {
            // A rejected file must leave the model as it was.
            if (model.header.numTags != 1 || model.header.tags.size() != std::size_t(frames))
                __builtin_trap();
            continue;
        }
        const std::size_t expected = static_cast<std::size_t>(frames) * model.header.numTags;
        if (model.header.tags.size() != expected) __builtin_trap();
        // What saving the tags writes, and it reads back as the tags of frame 0.
        std::vector<TMD3Tag> tags, again;
        std::string error;
        MemorySink out;
        if (!model.FrameZeroTags(tags) || !WriteTagFile(out, tags, error)) __builtin_trap();
        if (!ReadTagFile(MemoryBytes(out.bytes()), again, error) || again.size() != tags.size())
            __builtin_trap();
    }
    return 0;
}
