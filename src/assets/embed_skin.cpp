#include "assets/embed_skin.h"

int EmbedSkin(TMD3& model, const TSkin& skin) {
    if (skin.empty()) return 0;
    int written = 0;
    for (int i = 0; i < model.header.numSurfaces && model.ValidSurface(i); ++i) {
        TSurface& surface = model.header.surfaces[i];
        if (surface.shaders.empty()) continue;
        const TSkinRec* rec =
            FindSkinRec(skin, NameFieldText(surface.name), TSkinNaming::VertexModel);
        const std::string resolved = rec != nullptr ? rec->resolvedName : std::string();
        if (resolved.empty() && !NameFieldText(surface.shaders[0].name).empty()) continue;
        model.SetShaderName(i, resolved);
        ++written;
    }
    return written;
}

int EmbedSkin(TMDM& model, const TSkin& skin) {
    if (skin.empty()) return 0;
    int written = 0;
    for (int i = 0; model.ValidSurface(i); ++i) {
        const TMDMSurface& surface = model.surfaces[static_cast<std::size_t>(i)];
        const TSkinRec* rec = FindSkinRec(skin, NameFieldText(surface.name), TSkinNaming::Skeletal);
        const std::string resolved = rec != nullptr ? rec->resolvedName : std::string();
        if (resolved.empty() && !NameFieldText(surface.shader).empty()) continue;
        model.SetSurfaceShader(i, resolved);
        ++written;
    }
    return written;
}
