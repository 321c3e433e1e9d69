#include "render/gl/stage_textures.h"

#include "assets/stage_images.h"
#include "io/file_error.h"

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
            if (stage.texturePath.empty()) continue;
            std::uint32_t texture = 0;
            try {
                texture = textures.LoadTextureWithGamma(stage.texturePath, gamma);
            } catch (const FileError& e) {
                // One unreadable image must not leave the stages after it untextured.
                problems.push_back(e.what());
            }
            SetStageTexture(stage, texture, textures.TextureHasAlpha(texture));
        }
    }
    ShowStatus(status, "");
    return problems;
}
