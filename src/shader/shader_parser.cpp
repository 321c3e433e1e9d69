#include "shader/shader_parser.h"

#include <algorithm>

#include "shader/shader_keywords.h"
#include "shader/shader_lines.h"
#include "shader/stage_effect_keywords.h"

namespace {

using Lines = std::vector<std::string>;

std::size_t FindLine(const Lines& lines, const std::string& wanted) {
    // An empty name would match the first blank line and parse whatever shader follows it.
    if (wanted.empty()) return lines.size();
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), wanted) - lines.begin());
}

bool OpensOrCloses(const std::string& line) {
    return Contains(line, "{") || Contains(line, "}");
}

}  // namespace

std::vector<TShaderTexture> ParseShader(const Lines& lines, const std::string& name,
                                        const std::string& altName) {
    std::vector<TShaderTexture> stages;
    const std::size_t count = lines.size();

    std::string shaderName = name;
    std::size_t at = FindLine(lines, name);
    if (at == count) {
        shaderName = altName;
        at = FindLine(lines, altName);
        if (at == count) at = FindLine(lines, ForwardSlashes(altName));
        if (at == count) return stages;
    }

    ++at;
    while (at < count && !Contains(lines[at], "{"))
        ++at;
    if (at == count) return stages;

    TShaderTexture stage = ShaderHeaderStage(shaderName);
    ++at;
    while (at < count && !OpensOrCloses(lines[at])) {
        ApplyShaderEffectKeywords(lines[at], stage);
        ApplyHeaderKeywords(lines[at++], stage);
    }
    if (!stage.textureName.empty()) stages.push_back(stage);

    // One pass per brace block; lines between blocks are not read, and the first closing
    // brace outside a block ends the shader.
    while (at < count && Contains(lines[at], "{")) {
        ResetForNextStage(stage);
        ++at;
        while (at < count && !Contains(lines[at], "}")) {
            ApplyStageEffectKeywords(lines[at], stage);
            ApplyStageKeywords(lines[at++], stage);
        }
        stages.push_back(stage);
        ++at;
        while (at < count && !OpensOrCloses(lines[at]))
            ++at;
    }
    const float sort = SettledSort(stages);
    for (TShaderTexture& each : stages)
        each.sort = sort;
    return stages;
}
