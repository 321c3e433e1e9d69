#include "import/gltf_import_materials.h"

#include "import/gltf_library.h"
#include "import/shader_names.h"

namespace {

// The path of the material's base colour image: its URI, or for an image embedded in the
// file (a buffer view or a data URI) the name it was given.
std::string ImagePath(const tinygltf::Model& model, const tinygltf::Material& material) {
    const int texture = material.pbrMetallicRoughness.baseColorTexture.index;
    if (texture < 0 || static_cast<std::size_t>(texture) >= model.textures.size()) return {};
    const int image = model.textures[static_cast<std::size_t>(texture)].source;
    if (image < 0 || static_cast<std::size_t>(image) >= model.images.size()) return {};
    const tinygltf::Image& i = model.images[static_cast<std::size_t>(image)];
    if (!i.uri.empty() && !i.uri.starts_with("data:")) return i.uri;
    return i.name;
}

}  // namespace

std::string GltfShaderName(const tinygltf::Model& model, int material, std::string_view prefix) {
    if (material < 0 || static_cast<std::size_t>(material) >= model.materials.size()) return {};
    const tinygltf::Material& m = model.materials[static_cast<std::size_t>(material)];
    std::string shader = MaterialShaderName(m.name, ImagePath(model, m), prefix);
    if (shader.empty() && !m.name.empty()) shader = GameShaderName(m.name, prefix);
    return shader;
}
