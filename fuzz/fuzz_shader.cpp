// Feeds arbitrary bytes to the shader-script indexer and parser: every name the indexer finds
// is parsed, and so is one name that may only be found through the backslash fallback. The
// script is prepared from memory as a file's bytes would be. The same bytes are walked for
// `info`'s directive marks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shader/q3_shaders.h"
#include "shader/shader_directive_lines.h"
#include "shader/shader_directive_support.h"
#include "shader/shader_index.h"
#include "shader/shader_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = IndexShaderNames(PrepareShaderLines(text, false));
    const std::vector<std::string> lines = PrepareShaderLines(text, true);
    TShaders store;
    // Enough names to reach every shape of shader without making one input quadratic.
    constexpr std::size_t kMaxNames = 8;
    for (std::size_t n = 0; n < names.size() && n < kMaxNames; ++n) {
        const std::string& name = names[n];
        store.LoadShader(lines, name + ".tga", 0, name);
        // A shader that parsed into stages is loaded: asking again must find the same entry.
        const int index = store.LoadShader(lines, name, 0, name);
        if (!store.ValidIndex(index)) __builtin_trap();
        if (!store.shaders[index].stages.empty() && store.LoadShader(lines, name, 0, name) != index)
            __builtin_trap();
    }
    store.LoadShader(lines, "x", 0, "textures\\a\\b");
    store.ClearShaders();
    // Directives come in script order, each a word or more, in a stage block that exists.
    std::int64_t line = 1;
    for (const TScriptShader& shader : ListShaderDirectives(text)) {
        for (const TShaderDirective& d : shader.directives) {
            if (d.words.empty() || d.line < line || d.stage < 0 || d.stage > shader.stages)
                __builtin_trap();
            line = d.line;
            ClassifyShaderDirective(d.words, d.stage > 0);
        }
    }
    return 0;
}
