#include "render/q3_shaders.h"

#include "render/shader_lines.h"
#include "render/shader_parser.h"

int TShaders::FindLoaded(const std::string& name, const std::string& altName) const {
    for (int i = 0; i < Count(); ++i) {
        const std::vector<TShaderTexture>& stages = shaders[i].stages;
        if (stages.empty()) continue;
        const std::string& loaded = stages.front().shaderName;
        // Texture entries carry no shader name; an empty request must not pick them up.
        if (!loaded.empty() && (loaded == name || loaded == altName)) return i;
    }
    return -1;
}

int TShaders::LoadShader(const std::string& scriptFile, const std::string& name,
                         std::uint32_t flags, const std::string& altName) {
    // Script lines are lower-cased, so only a lower-case name can ever match one.
    const std::string lowerName = LowerCase(name);
    const std::string lowerAlt = LowerCase(altName);
    const int loaded = FindLoaded(lowerName, lowerAlt);
    if (loaded >= 0) return loaded;

    // Read before appending, so a script that cannot be read leaves no empty entry behind.
    const std::vector<std::string> lines = LoadShaderLines(scriptFile, true);
    TShaderObj entry;
    entry.flags = flags;
    entry.stages = ParseShader(lines, lowerName, lowerAlt);
    shaders.push_back(std::move(entry));
    return Count() - 1;
}

int TShaders::AddTextureShader(const std::string& textureName, const std::string& texturePath,
                               std::uint32_t flags) {
    TShaderTexture stage = ShaderHeaderStage(std::string());
    stage.textureName = textureName;
    stage.texturePath = texturePath;
    TShaderObj entry;
    entry.flags = flags;
    entry.stages.push_back(std::move(stage));
    shaders.push_back(std::move(entry));
    return Count() - 1;
}

void TShaders::ClearShaderStages(int index) {
    if (!ValidIndex(index)) return;
    std::vector<TShaderTexture>& stages = shaders[index].stages;
    if (deleter_ != nullptr) {
        for (const TShaderTexture& stage : stages) {
            if (stage.texture != 0) deleter_->DeleteTexture(stage.texture);
        }
    }
    stages.clear();
}

void TShaders::ClearShaders() {
    for (int i = 0; i < Count(); ++i)
        ClearShaderStages(i);
    shaders.clear();
}
