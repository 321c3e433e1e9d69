#include "import/gltf_export.h"

#include <sstream>

#include "io/atomic_file_writer.h"
#include "io/file_names.h"

TGltfExport::TGltfExport() {
    model_.asset.version = "2.0";
    model_.asset.generator = "Veldra";
    model_.scenes.emplace_back();
    model_.defaultScene = 0;
}

int TGltfExport::AddNode(tinygltf::Node node, int parent) {
    model_.nodes.push_back(std::move(node));
    const int index = static_cast<int>(model_.nodes.size()) - 1;
    if (parent < 0)
        model_.scenes[0].nodes.push_back(index);
    else
        model_.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
    return index;
}

void TGltfExport::RememberTag(const std::string& name, int node) {
    tagNodes_.emplace_back(name, node);
}

int TGltfExport::TagNode(const std::string& name) const {
    for (auto it = tagNodes_.rbegin(); it != tagNodes_.rend(); ++it)
        if (it->first == name) return it->second;
    return -1;
}

bool TGltfExport::Save(const std::string& fileName, std::string& error) {
    // glTF refuses empty buffers; a document without geometry has none.
    if (!model_.buffers.empty() && model_.buffers[0].data.empty()) model_.buffers.clear();
    const bool binary = UpperCaseExtension(fileName) == ".GLB";
    std::ostringstream stream(std::ios::binary);
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&model_, stream, !binary, binary)) {
        error = "the glTF document could not be serialised";
        return false;
    }
    AtomicFileWriter file(fileName);
    const std::string_view bytes = stream.view();
    file.Write(bytes.data(), bytes.size());
    if (!file.Commit()) {
        error = file.error();
        return false;
    }
    return true;
}
