#include "import/gltf_import.h"

#include "import/gltf_import_file.h"
#include "import/gltf_library.h"

TGltfImport::TGltfImport() : model_(std::make_unique<tinygltf::Model>()) {}

TGltfImport::TGltfImport(TGltfImport&&) noexcept = default;
TGltfImport& TGltfImport::operator=(TGltfImport&&) noexcept = default;
TGltfImport::~TGltfImport() = default;

bool TGltfImport::LoadGltf(const std::string& fileName, std::string& message) {
    *model_ = tinygltf::Model{};
    return LoadGltfFile(fileName, *model_, message);
}

bool TGltfImport::LoadGltfBytes(std::span<const std::uint8_t> bytes, std::string& message) {
    *model_ = tinygltf::Model{};
    return ::LoadGltfBytes(bytes, {}, *model_, message);
}

bool TGltfImport::HasSkin() const {
    for (const tinygltf::Node& node : model_->nodes)
        if (node.skin >= 0 && node.mesh >= 0) return true;
    return false;
}
