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

namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int shift : {0, 8, 16, 24})
        out.push_back(static_cast<char>(v >> shift));
}

}  // namespace

bool TGltfExport::Save(const std::string& fileName, std::string& error) {
    // glTF refuses empty buffers; a document without geometry has none.
    if (!model_.buffers.empty() && model_.buffers[0].data.empty()) model_.buffers.clear();
    const bool binary = UpperCaseExtension(fileName) == ".GLB";
    // A .glb takes the binary data as it lies in memory: the library would copy it twice on
    // the way, which costs more than the whole JSON. It writes the JSON without the buffer,
    // which is then named in it by its length.
    std::vector<unsigned char> data;
    if (binary && !model_.buffers.empty()) {
        data = std::move(model_.buffers[0].data);
        model_.buffers.clear();
    }
    std::ostringstream stream(std::ios::binary);
    tinygltf::TinyGLTF writer;
    const bool serialised = writer.WriteGltfSceneToStream(&model_, stream, !binary, false);
    if (!data.empty()) {
        model_.buffers.emplace_back();
        model_.buffers[0].data = std::move(data);
    }
    if (!serialised) {
        error = "the glTF document could not be serialised";
        return false;
    }
    AtomicFileWriter file(fileName);
    if (!binary) {
        const std::string_view text = stream.view();
        file.Write(text.data(), text.size());
    } else {
        std::string json(stream.view());
        while (!json.empty() && json.back() != '}')
            json.pop_back();
        if (json.empty()) {
            error = "the glTF document could not be serialised";
            return false;
        }
        const std::vector<unsigned char>* bin =
            model_.buffers.empty() ? nullptr : &model_.buffers[0].data;
        if (bin != nullptr) {
            json.pop_back();
            json += ",\"buffers\":[{\"byteLength\":" + std::to_string(bin->size()) + "}]}";
        }
        // Chunks are padded to four bytes: the JSON with spaces, the binary data with zeros.
        json.resize((json.size() + 3) & ~std::size_t{3}, ' ');
        const std::size_t binPadded = bin != nullptr ? (bin->size() + 3) & ~std::size_t{3} : 0;
        std::string head = "glTF";
        PutU32(head, 2);
        PutU32(head, static_cast<std::uint32_t>(12 + 8 + json.size() +
                                                (bin != nullptr ? 8 + binPadded : 0)));
        PutU32(head, static_cast<std::uint32_t>(json.size()));
        head += "JSON";
        file.Write(head.data(), head.size());
        file.Write(json.data(), json.size());
        if (bin != nullptr) {
            std::string binHead;
            PutU32(binHead, static_cast<std::uint32_t>(binPadded));
            binHead.append("BIN", 3);
            binHead.push_back('\0');
            file.Write(binHead.data(), binHead.size());
            file.Write(bin->data(), bin->size());
            const char zeros[3] = {};
            file.Write(zeros, binPadded - bin->size());
        }
    }
    if (!file.Commit()) {
        error = file.error();
        return false;
    }
    return true;
}
