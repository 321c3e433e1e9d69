// TObjTexture: turns image files into GL textures, once per resolved file. Needs the render
// context to be current while it uploads or deletes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/gl/texture_hooks.h"
#include "image/image_gamma.h"
#include "image/image_size.h"
#include "shader/q3_shaders.h"
#include "shader/texture_deleter.h"
#include "image/texture_paths.h"

struct TTextureCacheEntry {
    std::string path;  // the resolved file, compared exactly
    std::uint32_t texture = 0;
    bool hasAlpha = false;  // only 32-bit TGA images
    int width = 0;
    int height = 0;
};

class TObjTexture : public TextureDeleter {
  public:
    void AddSearchDir(const std::string& directory) { paths_.AddSearchDir(directory); }
    TexturePaths& Paths() { return paths_; }
    bool ResolvePath(std::string& path) const { return paths_.ResolvePath(path); }

    void SetGamma(float gamma) { gamma_.SetGamma(gamma); }
    float Gamma() const { return gamma_.Gamma(); }

    // The texture of the file the path resolves to, uploaded on first use; 0 when nothing
    // could be made. A cached texture is returned as it is, whatever the gamma now.
    std::uint32_t LoadTexture(const std::string& path);
    // LoadTexture brightened by `gamma`; the store's gamma is 1.0 again afterwards.
    std::uint32_t LoadTextureWithGamma(const std::string& path, float gamma);

    std::optional<std::uint32_t> FindCached(const std::string& resolvedPath) const;
    bool TextureHasAlpha(std::uint32_t texture) const;
    bool LastHasAlpha() const { return lastHasAlpha_; }
    std::optional<ImageSize> ReadImageSize(const std::string& path) const {
        return ::ReadImageSize(paths_, path);
    }

    // Deletes the texture and its cache entry; nothing for 0.
    void DeleteTexture(std::uint32_t texture) override;
    void FreeAllTextures();
    // The context died with its textures: only the cache is emptied.
    void ForgetAllTextures() { cache_.clear(); }

    const std::vector<TTextureCacheEntry>& Cache() const { return cache_; }

  private:
    TexturePaths paths_;
    SoftwareGamma gamma_;
    std::vector<TTextureCacheEntry> cache_;
    bool lastHasAlpha_ = false;
};

// Loads every shader stage's texture again from its resolved path with `gamma`, as the
// gamma menu does.
void ReloadStageTextures(TShaders& shaders, TObjTexture& textures, float gamma);

// The render context's way to this store (the sky box loads through it, and releasing the
// context frees every texture).
TTextureHooks TextureHooksFor(TObjTexture& textures);
