// The materials of an export, found the way the window textures a model: each surface's
// shader resolved through the game data, the skin and the shader list (surface_resolution.h),
// then its first stage with a picture (stage_images.h). The picture is embedded as the file
// holds it when glTF takes it (PNG, JPEG); TGA and BMP pictures become PNG.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "assets/surface_resolution.h"
#include "import/gltf_export.h"

// One material per surface, in order; a surface whose shader or picture is not found gets a
// material named after its shader (or its skin's) without texture. The skin in `assets` is
// applied. What could not be read goes to `problems`.
std::vector<TGltfMaterial> ResolveGltfMaterials(const std::vector<TSurfaceShaderRef>& surfaces,
                                                TGameAssets& assets, const TModelOrigin& origin,
                                                std::vector<std::string>& problems);

// The same through the skin file `skinFile` (empty: none) in place of the skin `assets`
// holds, which is back afterwards: for a character's head and accessories.
std::vector<TGltfMaterial> ResolveGltfMaterialsWithSkin(
    const std::vector<TSurfaceShaderRef>& surfaces, const std::string& skinFile,
    TGameAssets& assets, const TModelOrigin& origin, std::vector<std::string>& problems);

struct TGltfImage {
    std::vector<std::uint8_t> bytes;
    std::string mimeType;
};

// The picture file ready for embedding, or nothing with the reason in `error`.
std::optional<TGltfImage> GltfImageFromFile(const std::string& path, std::string& error);
