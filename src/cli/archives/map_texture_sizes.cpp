#include "cli/archives/map_texture_sizes.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

#include "assets/game_assets.h"
#include "assets/resolve_shader_image.h"
#include "cli/map_convert.h"
#include "io/file_error.h"
#include "render/image_size.h"

namespace fs = std::filesystem;

namespace {

// The game data with the scratch folder its archives extract into, removed at the end.
class TGameTextures {
  public:
    explicit TGameTextures(const std::string& scratch)
        : scratch_(scratch), assets_(scratch + "/") {}
    ~TGameTextures() {
        std::error_code ec;
        fs::remove_all(scratch_, ec);
    }
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
    std::string scratch_;
    TGameAssets assets_;
    TShaders shaders_;
};

TTextureSizeLookup MakeLookup(const std::string& gameDir, const std::string& mapDir,
                              std::vector<std::string>& problems) {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "veldra-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw FileError::CannotCreate(pattern, errno);
    auto textures = std::make_shared<TGameTextures>(pattern);
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
