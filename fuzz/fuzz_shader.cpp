// Feeds arbitrary bytes to the shader-script indexer and parser: every name the indexer finds
// is parsed, and so is one name that may only be found through the backslash fallback.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input_file.h"
#include "render/q3_shaders.h"
#include "render/shader_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("shader", data, size);
    if (path.empty()) return 0;

    TETShader entry;
    IndexShaderFile(path, entry);
    TShaders store;
    // Enough names to reach every shape of shader without making one input quadratic.
    constexpr std::size_t kMaxNames = 8;
    for (std::size_t n = 0; n < entry.shaderNames.size() && n < kMaxNames; ++n) {
        const std::string& name = entry.shaderNames[n];
        store.LoadShader(path, name + ".tga", 0, name);
        // A shader that parsed into stages is loaded: asking again must find the same entry.
        const int index = store.LoadShader(path, name, 0, name);
        if (!store.ValidIndex(index)) __builtin_trap();
        if (!store.shaders[index].stages.empty() &&
            store.LoadShader(path, name, 0, name) != index) {
            __builtin_trap();
        }
    }
    store.LoadShader(path, "x", 0, "textures\\a\\b");
    store.ClearShaders();
    return 0;
}
