// glTF files that lie about their buffers, indices, numbers or nodes are refused with the
// reason, never read past what they hold; buffers beside a .gltf come from its folder only.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>

#include "gltf_builder.h"
#include "import/gltf_import.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "support/test_files.h"

namespace {

// A triangle on one node: accessor 0 positions, 1 indices; buffer view 0 positions.
GltfBuilder Triangle() {
    GltfBuilder b;
    const int positions = b.Floats({0, 0, 0, 0, 0, 4, 4, 0, 0}, TINYGLTF_TYPE_VEC3);
    const int indices = b.Indices({0, 1, 2});
    b.Node("plate", -1, b.Mesh("plate", {{"POSITION", positions}}, indices));
    return b;
}

std::string Refusal(const std::vector<std::uint8_t>& bytes, const TGltfImportChoice& choice = {}) {
    TGltfImport gltf;
    gltf.choice = choice;
    std::string message;
    if (!gltf.LoadGltfBytes(bytes, message)) return message;
    TMD3 md3;
    FixedAnswerPrompts yes(true);
    if (gltf.ConvertGltfToMD3(md3, yes, message)) return {};
    EXPECT_TRUE(md3.IsEmpty());
    return message;
}

}  // namespace

TEST(GltfImportHostile, FaultsAreRefusedWithTheReason) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::function<void(GltfBuilder&)> spoil;
        const char* reason;
        TGltfImportChoice choice = {};
    };
    const Case cases[] = {
        {"count past the view", [](GltfBuilder& b) { b.model.accessors[0].count = 1000; },
         "1000 elements reach past the end of buffer view 0"},
        {"offset past the view", [](GltfBuilder& b) { b.model.accessors[0].byteOffset = 4; },
         "reach past the end of buffer view 0"},
        {"view past the buffer",
         [](GltfBuilder& b) { b.model.bufferViews[0].byteOffset = 1u << 20; }, "buffer view"},
        {"stride below an element", [](GltfBuilder& b) { b.model.bufferViews[0].byteStride = 4; },
         "stride 4 does not fit elements of 12 bytes"},
        {"index past the vertices",
         [](GltfBuilder& b) {
             b.model.meshes[0].primitives[0].indices = b.Indices({0, 1, 7});
         },
         "index 7 past its 3 vertices"},
        {"a number that is not finite",
         [nan](GltfBuilder& b) {
             b.model.meshes[0].primitives[0].attributes["POSITION"] =
                 b.Floats({0, 0, 0, nan, 0, 4, 4, 0, 0}, TINYGLTF_TYPE_VEC3);
         },
         "holds a number that is not finite"},
        {"zeros beyond the budget",
         [](GltfBuilder& b) {
             tinygltf::Accessor& a = b.model.accessors[0];
             a.bufferView = -1;
             a.count = std::size_t{1} << 28;
             a.sparse.isSparse = true;
             a.sparse.count = 1;
             a.sparse.indices.bufferView = b.View({0, 0, 0, 0});
             a.sparse.indices.byteOffset = 0;
             a.sparse.indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
             a.sparse.values.bufferView = b.View(std::vector<std::uint8_t>(12));
             a.sparse.values.byteOffset = 0;
         },
         "more than an import takes"},
        {"sparse index past the elements",
         [](GltfBuilder& b) {
             tinygltf::Accessor& a = b.model.accessors[0];
             a.sparse.isSparse = true;
             a.sparse.count = 1;
             a.sparse.indices.bufferView = b.View({9, 0, 0, 0});
             a.sparse.indices.byteOffset = 0;
             a.sparse.indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
             a.sparse.values.bufferView = b.View(std::vector<std::uint8_t>(12));
             a.sparse.values.byteOffset = 0;
         },
         "sparse index 9 past the 3 elements"},
        {"points",
         [](GltfBuilder& b) { b.model.meshes[0].primitives[0].mode = TINYGLTF_MODE_POINTS; },
         "is drawn as points, which make no triangles"},
        {"lines",
         [](GltfBuilder& b) { b.model.meshes[0].primitives[0].mode = TINYGLTF_MODE_LINE_STRIP; },
         "is drawn as lines, which make no triangles"},
        {"a node with two parents",
         [](GltfBuilder& b) {
             const int a = b.Node("a"), c = b.Node("c");
             b.model.nodes[static_cast<std::size_t>(a)].children.push_back(0);
             b.model.nodes[static_cast<std::size_t>(c)].children.push_back(0);
         },
         "node 0 has more than one parent"},
        {"a joint past its skin",
         [](GltfBuilder& b) {
             b.model.meshes[0].primitives[0].attributes["JOINTS_0"] =
                 b.Accessor({5, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0}, TINYGLTF_TYPE_VEC4,
                            TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
             b.model.meshes[0].primitives[0].attributes["WEIGHTS_0"] =
                 b.Floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, TINYGLTF_TYPE_VEC4);
             tinygltf::Skin skin;
             skin.joints = {0};
             b.model.skins.push_back(skin);
             b.model.nodes[0].skin = 0;
         },
         "names joint 5 of a skin with 1"},
        {"an animation not in the file",
         [](GltfBuilder&) {},
         "no animation is named \"run\" (the file has none)",
         {{}, "run", {}}},
        {"frames past the animation",
         [](GltfBuilder&) {},
         "frames 0-50 are not among the 1 frames (0-0) the animation gives",
         {{}, "", TGltfFrameRange{0, 50}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GltfBuilder b = Triangle();
        c.spoil(b);
        const std::string reason = Refusal(b.Bytes(), c.choice);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
    EXPECT_NE(Refusal({'g', 'l', 'T', 'F', 2, 0}).find("not a glTF file"), std::string::npos);
}

// A .gltf names its buffer by a path: beside it, it is read; outside its folder (by "..", an
// absolute path or a link), it is not, and the file says which.
TEST(GltfImportHostile, BuffersComeFromTheFolderOfTheFile) {
    testing_support::ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "model");
    GltfBuilder b = Triangle();
    testing_support::WriteBytes(dir.File("model/plate.bin"), b.model.buffers[0].data);
    testing_support::WriteBytes(dir.File("outside.bin"), b.model.buffers[0].data);
    std::filesystem::create_symlink(dir.path() / "outside.bin", dir.path() / "model/link.bin");
    const std::vector<std::uint8_t> text = b.Bytes(false);
    for (const std::string& uri : std::vector<std::string>{"plate.bin", "../outside.bin",
                                                           dir.File("outside.bin"), "link.bin"}) {
        SCOPED_TRACE(uri);
        nlohmann::json json = nlohmann::json::parse(text.begin(), text.end());
        json["buffers"][0]["uri"] = uri;
        const std::string written = json.dump();
        testing_support::WriteBytes(dir.File("model/plate.gltf"), {written.begin(), written.end()});
        TGltfImport gltf;
        std::string message;
        const bool loaded = gltf.LoadGltf(dir.File("model/plate.gltf"), message);
        EXPECT_EQ(loaded, uri == "plate.bin") << message;
        // An absolute path is taken as inside the folder, where there is no such file.
        if (!loaded) {
            EXPECT_TRUE(message.find("lies outside the folder of the glTF file") !=
                            std::string::npos ||
                        message.find("File not found") != std::string::npos)
                << message;
        }
    }
}
