#include "cli/archives/map_texture_sizes.h"

#include <memory>

#include "assets/game_assets.h"
#include "assets/resolve_shader_image.h"
#include "cli/map_convert.h"
#include "io/scratch_folder.h"
#include "render/image_size.h"

namespace {

// The game data with the scratch folder its archives extract into, removed at the end.
class TGameTextures {
  public:
    TGameTextures() : scratch_("veldra-cli-"), assets_(scratch_.Path() + "/") {}
    TGameTextures(const TGameTextures&) = delete;
    TGameTextures& operator=(const TGameTextures&) = delete;

    TGameAssets& Assets() { return assets_; }
    std::optional<std::pair<int, int>> Size(const std::string& name, const TModelOrigin& origin) {
        const TShaderImage image = ResolveShaderImage(name, assets_, origin, shaders_);
        if (image.imagePath.empty()) return std::nullopt;
        const std::optional<ImageSize> size = ReadImageFileSize(image.imagePath);
        if (!size) return std::nullopt;
        return std::pair{size->width, size->height};
    }

  private:
    TScratchFolder scratch_;
    TGameAssets assets_;
    TShaders shaders_;
};

TTextureSizeLookup MakeLookup(const std::string& gameDir, const std::string& mapDir,
                              std::vector<std::string>& problems) {
    auto textures = std::make_shared<TGameTextures>();
    problems = textures->Assets().UseGameFolder(gameDir);
    TModelOrigin origin;
    origin.loadedFromFile = true;
    origin.modelDir = mapDir;
    return [textures, origin](const std::string& name) { return textures->Size(name, origin); };
}

}  // namespace

void InstallGameTextureSizes() {
    InstallMapTextureSizes(&MakeLookup);
}
