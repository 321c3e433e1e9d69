#include "cli/render/render_texturing.h"

#include <filesystem>
#include <system_error>

#include "assets/game_path.h"
#include "assets/missing_textures.h"
#include "cli/cli_error.h"
#include "cli/model_source.h"
#include "render/gl/attachment_texturing.h"
#include "render/gl/stage_textures.h"

namespace fs = std::filesystem;

namespace {

void Warn(std::ostream& warnings, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        warnings << "veldra-cli: warning: " << problem << '\n';
}

}  // namespace

TRenderTexturing::TRenderTexturing(const TRenderOptions& options, std::ostream& warnings)
    : options_(options), warnings_(warnings) {
    if (options.game.empty()) return;
    const auto fail = [&options](const std::string& reason) {
        return CliError("Cannot render \"" + options.model + "\": " + reason);
    };
    if (!IsValidGamePath(WithTrailingSeparator(options.game)))
        throw fail("\"" + options.game +
                   "\" is not a game folder (no etmain with pak0.pk3 or scripts in it)");
    std::error_code ec;
    if (!options.shaderList.empty() && !fs::is_regular_file(options.shaderList, ec))
        throw fail("shader list \"" + options.shaderList + "\" not found");

    scratch_ = std::make_unique<TScratchFolder>("veldra-cli-render-");
    assets_ = std::make_unique<TGameAssets>(scratch_->Path() + "/");
    Warn(warnings_, assets_->UseGameFolder(options.game));
    if (!options.mapArchive.empty()) {
        const std::vector<std::string> problems = assets_->UseMapArchive(options.mapArchive);
        if (assets_->MapArchive().empty())
            throw fail(problems.empty() ? "cannot read \"" + options.mapArchive + "\""
                                        : problems.front());
        Warn(warnings_, problems);
    }
    if (!options.skin.empty()) {
        // A skin may be named inside an archive, as models are ("pak0.pk3:models/x.skin").
        skinSource_ = std::make_unique<TModelSource>(options.skin);
        if (!assets_->LoadSkin(skinSource_->File()))
            throw fail("skin \"" + options.skin + "\" not found");
    }
    if (!options.shaderList.empty())
        Warn(warnings_, assets_->RebuildShaderList({options.shaderList}));
}

void TRenderTexturing::TextureModel(TMD3& model, TShaders& shaders, TObjTexture& textures) {
    if (!assets_) return;
    SetMD3ShaderIndices(model, Resolve(MD3SurfaceShaderRefs(model), shaders, textures));
}

void TRenderTexturing::TextureModel(TMDM& mesh, TShaders& shaders, TObjTexture& textures) {
    if (!assets_) return;
    SetMDMShaderIndices(mesh, Resolve(MDMSurfaceShaderRefs(mesh), shaders, textures));
}

void TRenderTexturing::TextureAttachments(TAttachedModels& models, TObjTexture& textures) {
    if (!assets_ || models.empty()) return;
    Warn(warnings_, TextureAttachedModels(models, *assets_, Origin(), textures, 1.0f));
}

TModelOrigin TRenderTexturing::Origin() const {
    // Images beside a model file are searched as they are for a file the program loads; a
    // model taken out of an archive has no folder of its own.
    TModelOrigin origin;
    if (!NamesArchiveEntry(options_.model)) {
        std::error_code ec;
        const std::string folder =
            fs::absolute(fs::path(options_.model), ec).parent_path().string() + "/";
        origin = {true, folder, folder};
    }
    return origin;
}

TSurfaceResolution TRenderTexturing::Resolve(const std::vector<TSurfaceShaderRef>& surfaces,
                                             TShaders& shaders, TObjTexture& textures) {
    const TModelOrigin origin = Origin();
    TSurfaceResolution resolution = ResolveSurfaceShaders(surfaces, *assets_, origin, shaders);
    Warn(warnings_, resolution.problems);
    Warn(warnings_, CreateStageTextures(shaders, textures, 1.0f, *assets_, origin));
    Warn(warnings_, MissingTextures(surfaces, resolution, shaders, assets_->Skin()));
    return resolution;
}
