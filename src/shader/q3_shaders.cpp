#include "shader/q3_shaders.h"

#include <system_error>

#include "shader/shader_lines.h"
#include "shader/shader_parser.h"

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
    return AddParsed(ScriptLines(scriptFile), lowerName, lowerAlt, flags);
}

int TShaders::LoadShader(const std::vector<std::string>& scriptLines, const std::string& name,
                         std::uint32_t flags, const std::string& altName) {
    const std::string lowerName = LowerCase(name);
    const std::string lowerAlt = LowerCase(altName);
    const int loaded = FindLoaded(lowerName, lowerAlt);
    if (loaded >= 0) return loaded;
    return AddParsed(scriptLines, lowerName, lowerAlt, flags);
}

int TShaders::AddParsed(const std::vector<std::string>& lines, const std::string& lowerName,
                        const std::string& lowerAlt, std::uint32_t flags) {
    TShaderObj entry;
    entry.flags = flags;
    entry.stages = ParseShader(lines, lowerName, lowerAlt);
    shaders.push_back(std::move(entry));
    return Count() - 1;
}

const std::vector<std::string>& TShaders::ScriptLines(const std::string& scriptFile) {
    namespace fs = std::filesystem;
    std::error_code timeError, sizeError;
    const fs::file_time_type time = fs::last_write_time(scriptFile, timeError);
    const std::uintmax_t size = fs::file_size(scriptFile, sizeError);
    const auto known = scripts_.find(scriptFile);
    if (!timeError && !sizeError && known != scripts_.end() && known->second.time == time &&
        known->second.size == size) {
        return known->second.lines;
    }
    TScriptLines read{time, size, LoadShaderLines(scriptFile, true)};
    // A file whose time or size cannot be had is read every time rather than trusted.
    if (timeError || sizeError) {
        scripts_.erase(scriptFile);
        uncachedLines_ = std::move(read.lines);
        return uncachedLines_;
    }
    return scripts_.insert_or_assign(scriptFile, std::move(read)).first->second.lines;
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
            for (const std::uint32_t frame : stage.effects.animFrameTextures) {
                if (frame != 0 && frame != stage.texture) deleter_->DeleteTexture(frame);
            }
        }
    }
    stages.clear();
}

void TShaders::ClearShaders() {
    for (int i = 0; i < Count(); ++i)
        ClearShaderStages(i);
    shaders.clear();
    scripts_.clear();
}
