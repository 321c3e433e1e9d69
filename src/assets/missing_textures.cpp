#include "assets/missing_textures.h"

#include <algorithm>

#include "assets/image_search.h"

namespace {

void AddOnce(std::vector<std::string>& lines, std::string line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end())
        lines.push_back(std::move(line));
}

// A stage whose image should have come from a file and did not.
bool StageImageMissing(const TShaderTexture& stage) {
    if (stage.lightmap || stage.whiteImage || stage.videoMap) return false;
    return !stage.textureName.empty() && stage.texturePath.empty();
}

void AddCandidates(std::vector<std::string>& images, const std::string& name) {
    for (std::string& candidate : ImageNameCandidates(name))
        AddOnce(images, std::move(candidate));
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
            if (!StageImageMissing(stage)) continue;
            AddOnce(lines, "image \"" + stage.textureName + "\" of shader \"" + stage.shaderName +
                               "\" not found");
        }
    }
    return lines;
}

std::vector<TSurfaceMissingTextures> MissingSurfaceTextures(
    const std::vector<TSurfaceShaderRef>& surfaces, const TSurfaceResolution& resolution,
    const TShaders& shaders, const TSkin& skin) {
    std::vector<TSurfaceMissingTextures> result;
    for (std::size_t i = 0; i < surfaces.size() && i < resolution.surfaces.size(); ++i) {
        const TSurfaceShaderRef& surface = surfaces[i];
        const TSkinRec* rec = FindSkinRec(skin, surface.surfaceName, surface.skinNaming);
        TSurfaceMissingTextures missing{
            surface.surfaceName, rec != nullptr ? rec->path : surface.shaderName, false, {}};
        const int index = resolution.surfaces[i].shaderIndex;
        if (shaders.ValidIndex(index)) {
            for (const TShaderTexture& stage :
                 shaders.shaders[static_cast<std::size_t>(index)].stages) {
                // The script's spelling, without the quotes or case the surface may give it.
                if (!stage.shaderName.empty()) missing.shader = stage.shaderName;
                if (StageImageMissing(stage)) AddCandidates(missing.images, stage.textureName);
            }
            if (missing.images.empty()) continue;
        } else {
            missing.noScript = !missing.shader.empty();
            if (missing.noScript) AddCandidates(missing.images, missing.shader);
        }
        result.push_back(std::move(missing));
    }
    return result;
}

std::string MissingTexturesLine(const TSurfaceMissingTextures& missing) {
    std::string line = "surface \"" + missing.surface + "\": ";
    if (missing.shader.empty()) return line + "names no shader and no skin line gives it one";
    line += "shader \"" + missing.shader + "\"";
    if (missing.noScript) line += " is in no script";
    if (missing.images.empty()) return line;
    line += missing.noScript ? " and no image was found: " : ", images not found: ";
    for (std::size_t i = 0; i < missing.images.size(); ++i)
        line += (i == 0 ? "" : ", ") + missing.images[i];
    return line;
}
