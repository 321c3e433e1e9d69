// Materials of an export: one per distinct material, their pictures embedded in the document's
// buffer.
#include "import/gltf_accessors.h"
#include "import/gltf_export.h"
#include "shader/gl_blend_factors.h"
#include "shader/shader_stage.h"

TGltfAlpha GltfAlphaOf(std::uint8_t alphaFunc, std::int32_t blendSrc, std::int32_t blendDst) {
    // A tested stage cuts out; that wins over blending, as the cut-out pixels are never drawn.
    if (alphaFunc != kAlphaFuncNone) return TGltfAlpha::Mask;
    // No factors, replacing, and the stage that only modulates the (empty) surface beneath
    // draw the picture as it is.
    const bool opaque = (blendSrc == 0 && blendDst == 0) ||
                        (blendSrc == kGlOne && blendDst == kGlZero) ||
                        (blendSrc == kGlDstColor && blendDst == kGlZero);
    return opaque ? TGltfAlpha::Opaque : TGltfAlpha::Blend;
}

int TGltfExport::AddMaterial(const TGltfMaterial& material) {
    tinygltf::Material out;
    out.name = material.name;
    out.doubleSided = material.doubleSided;
    switch (material.alpha) {
        case TGltfAlpha::Opaque:
            out.alphaMode = "OPAQUE";
            break;
        case TGltfAlpha::Mask:
            out.alphaMode = "MASK";
            out.alphaCutoff = material.alphaCutoff;
            break;
        case TGltfAlpha::Blend:
            out.alphaMode = "BLEND";
            break;
    }
    // The game lights models itself; a plain, rough, non-metal surface looks closest.
    out.pbrMetallicRoughness.metallicFactor = 0.0;
    out.pbrMetallicRoughness.roughnessFactor = 1.0;
    if (!material.image.empty()) {
        tinygltf::Image image;
        image.name = material.name;
        image.mimeType = material.mimeType;
        image.bufferView = AddGltfView(model_, material.image.data(), material.image.size(), 0);
        model_.images.push_back(std::move(image));
        if (model_.samplers.empty()) {
            tinygltf::Sampler sampler;
            sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
            model_.samplers.push_back(sampler);
        }
        tinygltf::Texture texture;
        texture.sampler = 0;
        texture.source = static_cast<int>(model_.images.size()) - 1;
        model_.textures.push_back(texture);
        out.pbrMetallicRoughness.baseColorTexture.index =
            static_cast<int>(model_.textures.size()) - 1;
    }
    model_.materials.push_back(std::move(out));
    return static_cast<int>(model_.materials.size()) - 1;
}

int TGltfExport::MaterialFor(const std::vector<TGltfMaterial>& materials, std::size_t surface,
                             const std::string& shaderName) {
    TGltfMaterial fallback;
    fallback.name = shaderName;
    const TGltfMaterial& wanted = surface < materials.size() ? materials[surface] : fallback;
    // Surfaces sharing a shader share its material (and its picture is stored once).
    for (std::size_t i = 0; i < model_.materials.size(); ++i) {
        const tinygltf::Material& m = model_.materials[i];
        if (m.name == wanted.name &&
            (m.pbrMetallicRoughness.baseColorTexture.index >= 0) == !wanted.image.empty())
            return static_cast<int>(i);
    }
    return AddMaterial(wanted);
}
