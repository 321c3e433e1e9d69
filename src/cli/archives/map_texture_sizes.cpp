#include "cli/archives/map_texture_sizes.h"

#include <memory>

#include "assets/game_assets.h"
#include "assets/game_path.h"
#include "assets/image_search.h"
#include "assets/resolve_shader_image.h"
#include "cli/map_convert.h"
#include "io/path_case.h"
#include "io/scratch_folder.h"
#include "image/image_size.h"

namespace {

// The game data with the scratch folder its archives extract into, removed at the end.
class TGameTextures {
  public:
    explicit TGameTextures(const std::string& gameDir)
        : scratch_("veldra-cli-"),
          assets_(scratch_.Path() + "/"),
          etmain_(GameEtmainFolder(GamePathFromChosenFolder(gameDir))) {}
    TGameTextures(const TGameTextures&) = delete;
    TGameTextures& operator=(const TGameTextures&) = delete;

    TGameAssets& Assets() { return assets_; }
    bool HasEtmain() const { return etmain_.has_value(); }
    std::optional<std::pair<int, int>> Size(const std::string& name, const TModelOrigin& origin) {
        const TShaderImage image = ResolveShaderImage(name, assets_, origin, shaders_);
        std::string path = image.imagePath;
        if (path.empty()) path = LooseImage(name);
        if (path.empty()) return std::nullopt;
        const std::optional<ImageSize> size = ReadImageFileSize(path);
        if (!size) return std::nullopt;
        return std::pair{size->width, size->height};
    }

  private:
    // A modder's folder of loose images under etmain, without the game's archives, is no
    // game folder the assets take; its images still give the sizes.
    std::string LooseImage(const std::string& name) const {
        if (!etmain_) return {};
        for (const std::string& candidate : ImageNameCandidates(name))
            if (auto found = FindFileIgnoringCase(*etmain_ + candidate)) return *found;
        return {};
    }

    TScratchFolder scratch_;
    TGameAssets assets_;
    TShaders shaders_;
    std::optional<std::string> etmain_;
};

TTextureSizeLookup MakeLookup(const std::string& gameDir, const std::string& mapDir,
                              std::vector<std::string>& problems) {
    auto textures = std::make_shared<TGameTextures>(gameDir);
    problems = textures->Assets().UseGameFolder(gameDir);
    // A folder of loose images under etmain serves without the game's archives.
    if (textures->HasEtmain())
        std::erase_if(problems,
                      [](const std::string& p) { return p.starts_with("Not a game folder"); });
    TModelOrigin origin;
    origin.loadedFromFile = true;
    origin.modelDir = mapDir;
    return [textures, origin](const std::string& name) { return textures->Size(name, origin); };
}

}  // namespace

void InstallGameTextureSizes() {
    InstallMapTextureSizes(&MakeLookup);
}
