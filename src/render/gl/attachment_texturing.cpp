#include "render/gl/attachment_texturing.h"

#include "assets/surface_resolution.h"
#include "render/gl/stage_textures.h"

namespace {

// The body's skin table comes back on every way out.
class TSkinKeeper {
  public:
    explicit TSkinKeeper(TGameAssets& assets) : assets_(assets), kept_(assets.Skin()) {}
    ~TSkinKeeper() { assets_.Skin() = std::move(kept_); }
    TSkinKeeper(const TSkinKeeper&) = delete;
    TSkinKeeper& operator=(const TSkinKeeper&) = delete;

  private:
    TGameAssets& assets_;
    TSkin kept_;
};

}  // namespace

std::vector<std::string> TextureAttachedModels(TAttachedModels& models, TGameAssets& assets,
                                               const TModelOrigin& origin, TObjTexture& textures,
                                               float gamma) {
    std::vector<std::string> problems;
    const TSkinKeeper keeper(assets);
    for (TAttachedModel& m : models) {
        if (m.where.skin.empty() || !assets.LoadSkin(m.where.skin)) assets.ClearSkin();
        const TSurfaceResolution resolution =
            ResolveSurfaceShaders(MD3SurfaceShaderRefs(m.model), assets, origin, *m.shaders);
        SetMD3ShaderIndices(m.model, resolution);
        problems.insert(problems.end(), resolution.problems.begin(), resolution.problems.end());
        for (std::string& p : CreateStageTextures(*m.shaders, textures, gamma, assets, origin))
            problems.push_back(std::move(p));
    }
    return problems;
}
