#include "assets/stage_images.h"

#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "assets/game_file_name.h"
#include "assets/game_path.h"
#include "assets/image_search.h"
#include "io/path_case.h"
#include "shader/gl_blend_factors.h"
#include "image/image_size.h"

namespace {

std::optional<std::string> InFolder(std::string folder, const std::string& fileName) {
    if (folder.empty() || fileName.empty()) return std::nullopt;
    if (folder.back() != '/') folder += '/';
    return FindFileIgnoringCase(folder + fileName);
}

}  // namespace

std::optional<std::string> FindStageImage(const TShaderTexture& stage, const TGameAssets& assets,
                                          const TModelOrigin& origin,
                                          std::vector<std::string>& problems) {
    if (stage.lightmap || stage.whiteImage) return std::nullopt;
    std::error_code ec;
    if (!stage.texturePath.empty() && std::filesystem::is_regular_file(stage.texturePath, ec))
        return stage.texturePath;
    const std::optional<std::string> gameName = GameFileName(stage.textureName);
    if (!gameName) return std::nullopt;
    const std::string& name = *gameName;
    const std::string fileName(FileNamePart(name));
    if (auto found = InFolder(origin.dialogFolder, fileName)) return found;
    if (auto etmain = GameEtmainFolder(assets.GamePath())) {
        if (auto found = InFolder(*etmain, fileName)) return found;
    }
    const std::vector<std::string> candidates = ImageNameCandidates(name);
    if (!assets.MapArchive().empty()) {
        if (auto hit =
                ExtractFirstFound(assets.MapArchive(), candidates, assets.MapDir(), problems))
            return hit->path;
    }
    for (const TStrObject& pak : assets.Paks().SearchOrder()) {
        if (auto hit = ExtractFirstFound(pak.path, candidates, pak.extractDir, problems))
            return hit->path;
    }
    if (auto hit = FindInGameFolder(candidates, assets)) return hit->path;
    return std::nullopt;
}

std::vector<std::string> ResolveStageImages(TShaders& shaders, const TGameAssets& assets,
                                            const TModelOrigin& origin) {
    std::vector<std::string> problems;
    // Stages that name the same image share one search (and one extraction).
    std::map<std::string, std::optional<std::string>> searched;
    for (TShaderObj& shader : shaders.shaders) {
        for (TShaderTexture& stage : shader.stages) {
            const auto find = [&](const TShaderTexture& probe) {
                const std::string key = probe.texturePath + '\n' + probe.textureName;
                if (auto it = searched.find(key); it != searched.end()) return it->second;
                std::optional<std::string> found = FindStageImage(probe, assets, origin, problems);
                searched.emplace(key, found);
                return found;
            };
            const std::optional<std::string> image = find(stage);
            // Every frame of an animated image is found the same way as the first.
            stage.effects.animFramePaths.clear();
            if (stage.effects.animFrames.size() > 1) {
                for (const std::string& frame : stage.effects.animFrames) {
                    TShaderTexture probe = stage;
                    probe.textureName = frame;
                    probe.texturePath.clear();
                    stage.effects.animFramePaths.push_back(find(probe).value_or(""));
                }
            }
            stage.texturePath = image.value_or("");
            stage.imageWidth = 0;
            stage.imageHeight = 0;
            if (image) {
                if (auto size = ReadImageFileSize(*image)) {
                    stage.imageWidth = size->width;
                    stage.imageHeight = size->height;
                }
            }
        }
    }
    return problems;
}

void SetStageTexture(TShaderTexture& stage, std::uint32_t texture, bool hasAlpha) {
    stage.texture = texture;
    stage.textureHasAlpha = hasAlpha;
    if (stage.blendSrc == 0 && stage.blendDst == 0) {
        stage.blendSrc = hasAlpha ? kGlSrcAlpha : kGlDstColor;
        stage.blendDst = hasAlpha ? kGlOneMinusSrcAlpha : kGlZero;
    }
}
