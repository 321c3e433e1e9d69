#include "render/gl/stage_textures.h"

#include "assets/stage_images.h"
#include "io/file_error.h"

namespace {

// The textures of an animated image's frames; a frame that cannot be loaded stays 0 and
// shows the first frame instead.
void LoadAnimationFrames(TShaderTexture& stage, TObjTexture& textures, float gamma,
                         std::vector<std::string>& problems) {
    for (const std::string& path : stage.effects.animFramePaths) {
        std::uint32_t texture = 0;
        if (!path.empty()) {
            try {
                texture = textures.LoadTextureWithGamma(path, gamma);
            } catch (const FileError& e) {
                problems.push_back(e.what());
            }
        }
        stage.effects.animFrameTextures.push_back(texture);
    }
}

}  // namespace

std::vector<std::string> CreateStageTextures(TShaders& shaders, TObjTexture& textures, float gamma,
                                             const TGameAssets& assets, const TModelOrigin& origin,
                                             const StatusFn& status) {
    if (shaders.Count() == 0) return {};
    ShowStatus(status, "Creating textures...");
    std::vector<std::string> problems = ResolveStageImages(shaders, assets, origin);
    for (TShaderObj& shader : shaders.shaders) {
        for (TShaderTexture& stage : shader.stages) {
            stage.texture = 0;
            stage.textureHasAlpha = false;
            stage.effects.animFrameTextures.clear();
            if (stage.texturePath.empty()) continue;
            std::uint32_t texture = 0;
            try {
                texture = textures.LoadTextureWithGamma(stage.texturePath, gamma);
            } catch (const FileError& e) {
                // One unreadable image must not leave the stages after it untextured.
                problems.push_back(e.what());
            }
            SetStageTexture(stage, texture, textures.TextureHasAlpha(texture));
            LoadAnimationFrames(stage, textures, gamma, problems);
        }
    }
    ShowStatus(status, "");
    return problems;
}
