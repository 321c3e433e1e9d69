#include "assets/resolve_shader_image.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "assets/image_search.h"
#include "io/file_error.h"

TShaderImage ResolveShaderImage(const std::string& name, const TGameAssets& assets,
                                const TModelOrigin& origin, TShaders& shaders) {
    TShaderImage result;
    std::string shaderName = LowerCaseAscii(name);
    shaderName.erase(std::remove(shaderName.begin(), shaderName.end(), '"'), shaderName.end());
    const std::string baseName = WithoutExtension(shaderName);

    if (auto match = FindShaderName(baseName, assets.Indexes())) {
        const TETShader& file = MatchedFile(assets.Indexes(), *match);
        std::error_code ec;
        if (std::filesystem::is_regular_file(file.path, ec)) {
            try {
                result.entryIndex =
                    shaders.LoadShader(file.path, shaderName, match->flags, baseName);
            } catch (const FileError& e) {
                result.problems.push_back(e.what());
            }
        }
    } else if (auto image = FindSurfaceImage(shaderName, assets, origin, result.problems)) {
        result.entryIndex = shaders.AddTextureShader(image->name, image->path, image->flags);
    }
    result.found = shaders.ValidIndex(result.entryIndex);
    if (!result.found) return result;

    const std::vector<TShaderTexture>& stages = shaders.shaders[result.entryIndex].stages;
    if (stages.empty()) return result;
    const TShaderTexture& first = stages.front();
    std::error_code ec;
    if (!first.texturePath.empty() && std::filesystem::is_regular_file(first.texturePath, ec)) {
        result.imagePath = first.texturePath;
    } else if (!first.lightmap && !first.whiteImage) {
        if (auto image = FindSurfaceImage(first.textureName, assets, origin, result.problems))
            result.imagePath = image->path;
    }
    return result;
}
