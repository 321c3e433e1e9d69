#include "import/gltf_materials.h"

#include <span>

#include "assets/stage_images.h"
#include "image/bmp_decoder.h"
#include "image/image.h"
#include "image/png_encoder.h"
#include "image/tga_decoder.h"
#include "io/file_bytes.h"
#include "io/file_error.h"
#include "io/file_names.h"

namespace {

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// The stage whose picture stands for the surface: the first that draws an image file.
const TShaderTexture* FirstImageStage(const TShaderObj& shader) {
    for (const TShaderTexture& stage : shader.stages) {
        if (stage.lightmap || stage.whiteImage || stage.textureName.empty()) continue;
        return &stage;
    }
    return nullptr;
}

}  // namespace

std::optional<TGltfImage> GltfImageFromFile(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    try {
        if (!ReadFileBytes(path, kMaxImageFileBytes, bytes, error)) return std::nullopt;
    } catch (const FileError& e) {
        error = e.what();
        return std::nullopt;
    }
    static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    static constexpr std::uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF};
    if (StartsWith(bytes, kPng)) return TGltfImage{std::move(bytes), "image/png"};
    if (StartsWith(bytes, kJpeg)) return TGltfImage{std::move(bytes), "image/jpeg"};
    const std::string extension = UpperCaseExtension(path);
    ImageResult decoded;
    bool bottomRowFirst = true;
    if (extension == ".TGA") {
        decoded = DecodeTga(bytes);
        // The decoder keeps the file's row order; the descriptor's bit 5 marks a file stored
        // top row first.
        bottomRowFirst = !(bytes.size() > 17 && (bytes[17] & 0x20) != 0);
    } else if (extension == ".BMP") {
        decoded = DecodeBmp(bytes);
    } else {
        error = "\"" + path + "\" is no picture glTF can hold";
        return std::nullopt;
    }
    if (!decoded) {
        error = "\"" + path + "\": " + decoded.error;
        return std::nullopt;
    }
    TGltfImage png{EncodePng(*decoded.image, bottomRowFirst), "image/png"};
    if (png.bytes.empty()) {
        error = "\"" + path + "\" could not be stored as PNG";
        return std::nullopt;
    }
    return png;
}

std::vector<TGltfMaterial> ResolveGltfMaterials(const std::vector<TSurfaceShaderRef>& surfaces,
                                                TGameAssets& assets, const TModelOrigin& origin,
                                                std::vector<std::string>& problems) {
    TShaders shaders;
    const TSurfaceResolution resolution = ResolveSurfaceShaders(surfaces, assets, origin, shaders);
    problems.insert(problems.end(), resolution.problems.begin(), resolution.problems.end());
    const std::vector<std::string> stageProblems = ResolveStageImages(shaders, assets, origin);
    problems.insert(problems.end(), stageProblems.begin(), stageProblems.end());

    std::vector<TGltfMaterial> materials;
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        TGltfMaterial material;
        // A skin's record names the shader the surface really gets.
        const TSkinRec* skinned =
            FindSkinRec(assets.Skin(), surfaces[i].surfaceName, surfaces[i].skinNaming);
        material.name = skinned != nullptr ? skinned->path : surfaces[i].shaderName;
        const int index = i < resolution.surfaces.size() ? resolution.surfaces[i].shaderIndex : -1;
        const TShaderTexture* stage =
            shaders.ValidIndex(index)
                ? FirstImageStage(shaders.shaders[static_cast<std::size_t>(index)])
                : nullptr;
        if (stage != nullptr) {
            material.alpha = GltfAlphaOf(stage->alphaFunc, stage->blendSrc, stage->blendDst);
            // GT0 keeps every pixel that is not fully clear; the others cut at one half.
            material.alphaCutoff = stage->alphaFunc == kAlphaFuncGT0 ? 1.0f / 255.0f : 0.5f;
            material.doubleSided = stage->cull == kCullNone;
            if (!stage->texturePath.empty()) {
                std::string error;
                if (std::optional<TGltfImage> image =
                        GltfImageFromFile(stage->texturePath, error)) {
                    material.image = std::move(image->bytes);
                    material.mimeType = image->mimeType;
                } else {
                    problems.push_back(error);
                }
            }
        }
        materials.push_back(std::move(material));
    }
    return materials;
}

std::vector<TGltfMaterial> ResolveGltfMaterialsWithSkin(
    const std::vector<TSurfaceShaderRef>& surfaces, const std::string& skinFile,
    TGameAssets& assets, const TModelOrigin& origin, std::vector<std::string>& problems) {
    TSkin kept = assets.Skin();
    if (skinFile.empty() || !assets.LoadSkin(skinFile)) assets.ClearSkin();
    std::vector<TGltfMaterial> materials;
    try {
        materials = ResolveGltfMaterials(surfaces, assets, origin, problems);
    } catch (...) {
        assets.Skin() = std::move(kept);
        throw;
    }
    assets.Skin() = std::move(kept);
    return materials;
}
