#include "assets/surface_resolution.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "assets/image_search.h"
#include "io/file_error.h"
#include "shader/shader_flags.h"

namespace {

std::string WithoutQuotes(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

TSurfaceShaderResult ResolveOne(const TSurfaceShaderRef& surface, TGameAssets& assets,
                                const TModelOrigin& origin, TShaders& shaders,
                                std::vector<std::string>& problems) {
    TSurfaceShaderResult result;
    std::string shaderName = WithoutQuotes(LowerCaseAscii(surface.shaderName));
    std::uint32_t flags = 0;
    TSkinRec* skin = FindSkinRec(assets.Skin(), surface.surfaceName, surface.skinNaming);
    if (skin != nullptr) {
        shaderName = skin->path;
        flags |= kShaderNameFromSkin;
    }
    const std::string baseName = WithoutExtension(shaderName);

    std::string scriptPath;
    if (auto match = FindShaderName(baseName, assets.Indexes())) {
        const TETShader& file = MatchedFile(assets.Indexes(), *match);
        flags |= match->flags;
        scriptPath = file.path;
        result.shaderFile = ShaderFileDisplayText(match->index, file);
        result.shaderNameFound = file.shaderNames[match->nameNr];
        if (skin != nullptr) skin->resolvedName = baseName;
    } else if (auto image = FindSurfaceImage(shaderName, assets, origin, problems)) {
        result.shaderIndex =
            shaders.AddTextureShader(image->name, image->path, flags | image->flags);
        if (skin != nullptr) skin->resolvedName = shaderName;
    }

    std::error_code ec;
    if (!scriptPath.empty() && std::filesystem::is_regular_file(scriptPath, ec)) {
        try {
            result.shaderIndex = shaders.LoadShader(scriptPath, shaderName, flags, baseName);
        } catch (const FileError& e) {
            problems.push_back(e.what());
        }
    }
    return result;
}

}  // namespace

TSurfaceResolution ResolveSurfaceShaders(const std::vector<TSurfaceShaderRef>& surfaces,
                                         TGameAssets& assets, const TModelOrigin& origin,
                                         TShaders& shaders, const StatusFn& status) {
    ShowStatus(status, "");
    shaders.ClearShaders();
    TSurfaceResolution resolution;
    resolution.surfaces.resize(surfaces.size());
    // A name resolved for an earlier model or skin must not be embedded into this one.
    for (TSkinRec& rec : assets.Skin())
        rec.resolvedName.clear();
    if (surfaces.empty() || assets.Indexes().game.empty()) return resolution;

    ShowStatus(status, "Updating skins, shaders & textures...");
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        resolution.surfaces[i] =
            ResolveOne(surfaces[i], assets, origin, shaders, resolution.problems);
    ShowStatus(status, "");
    return resolution;
}

std::vector<TSurfaceShaderRef> MD3SurfaceShaderRefs(const TMD3& model) {
    std::vector<TSurfaceShaderRef> refs;
    for (int i = 0; i < model.header.numSurfaces && model.ValidSurface(i); ++i) {
        const TSurface& surface = model.header.surfaces[i];
        TSurfaceShaderRef ref;
        ref.surfaceName = NameFieldText(surface.name);
        if (!surface.shaders.empty()) ref.shaderName = NameFieldText(surface.shaders[0].name);
        refs.push_back(std::move(ref));
    }
    return refs;
}

void SetMD3ShaderIndices(TMD3& model, const TSurfaceResolution& resolution) {
    for (std::size_t i = 0; i < model.header.surfaces.size(); ++i) {
        TSurface& surface = model.header.surfaces[i];
        if (surface.shaders.empty()) continue;
        surface.shaders[0].shaderIndex =
            i < resolution.surfaces.size() ? resolution.surfaces[i].shaderIndex : -1;
    }
}

std::vector<TSurfaceShaderRef> MDMSurfaceShaderRefs(const TMDM& model) {
    std::vector<TSurfaceShaderRef> refs;
    for (int i = 0; model.ValidSurface(i); ++i) {
        const TMDMSurface& surface = model.surfaces[static_cast<std::size_t>(i)];
        refs.push_back(
            {NameFieldText(surface.name), NameFieldText(surface.shader), TSkinNaming::Skeletal});
    }
    return refs;
}

void SetMDMShaderIndices(TMDM& model, const TSurfaceResolution& resolution) {
    for (std::size_t i = 0; i < model.surfaces.size(); ++i)
        model.surfaces[i].shaderIndex =
            i < resolution.surfaces.size() ? resolution.surfaces[i].shaderIndex : -1;
}
