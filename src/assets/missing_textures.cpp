#include "assets/missing_textures.h"

#include <algorithm>

namespace {

void AddOnce(std::vector<std::string>& lines, std::string line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end())
        lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> MissingTextures(const std::vector<TSurfaceShaderRef>& surfaces,
                                         const TSurfaceResolution& resolution,
                                         const TShaders& shaders, const TSkin& skin) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < surfaces.size() && i < resolution.surfaces.size(); ++i) {
        if (resolution.surfaces[i].shaderIndex >= 0) continue;
        const TSurfaceShaderRef& surface = surfaces[i];
        const TSkinRec* rec = FindSkinRec(skin, surface.surfaceName, surface.skinNaming);
        const std::string& name = rec != nullptr ? rec->path : surface.shaderName;
        const std::string what = "surface \"" + surface.surfaceName + "\"";
        if (name.empty())
            AddOnce(lines, what + " names no shader and no skin line gives it one");
        else
            AddOnce(lines, what + ": no shader or image \"" + name + "\" found");
    }
    for (const TShaderObj& shader : shaders.shaders) {
        for (const TShaderTexture& stage : shader.stages) {
            if (stage.lightmap || stage.whiteImage || stage.videoMap) continue;
            if (stage.textureName.empty() || !stage.texturePath.empty()) continue;
            AddOnce(lines, "image \"" + stage.textureName + "\" of shader \"" + stage.shaderName +
                               "\" not found");
        }
    }
    return lines;
}
