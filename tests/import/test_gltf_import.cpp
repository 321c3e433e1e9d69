// glTF files built in the test become MD3 models: axes stood up on the game's Z, node
// transforms applied down the tree, morph targets and skins baked per frame, tag_* nodes as
// tags, missing normals and texture coordinates made up.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gltf_builder.h"
#include "import/gltf_import.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

constexpr float kGrid = 1.0f / 64.0f;

bool Convert(GltfBuilder& b, TMD3& md3, std::string& message, TGltfImportChoice choice = {}) {
    TGltfImport gltf;
    gltf.choice = choice;
    if (!gltf.LoadGltfBytes(b.Bytes(), message)) return false;
    FixedAnswerPrompts yes(true);
    return gltf.ConvertGltfToMD3(md3, yes, message);
}

TVector3 Position(const TMD3& md3, int surface, int frame, int vertex) {
    const TSurface& s = md3.header.surfaces[static_cast<std::size_t>(surface)];
    const TMD3Vertex& v = s.vertices[static_cast<std::size_t>(frame * s.numVerts + vertex)];
    return {v.x * kGrid, v.y * kGrid, v.z * kGrid};
}

void ExpectNear(TVector3 got, TVector3 want, float tolerance = kGrid) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

// One triangle, counter-clockwise seen from its front: in glTF's XZ plane facing +Y, or as
// authored with Z up (the game's own coordinates) facing +Z.
int FlatTriangle(GltfBuilder& b, bool zUp, bool normals, bool texCoords) {
    std::map<std::string, int> attributes{
        {"POSITION", b.Floats(zUp ? std::vector<float>{0, 0, 0, 0, -4, 0, 4, 0, 0}
                                  : std::vector<float>{0, 0, 0, 0, 0, 4, 4, 0, 0},
                              TINYGLTF_TYPE_VEC3)}};
    const float ny = zUp ? 0.0f : 1.0f, nz = zUp ? 1.0f : 0.0f;
    if (normals) attributes["NORMAL"] = b.Floats({0, ny, nz, 0, ny, nz, 0, ny, nz}, TINYGLTF_TYPE_VEC3);
    if (texCoords) attributes["TEXCOORD_0"] = b.Floats({0, 0.25f, 0, 1, 1, 0.25f}, TINYGLTF_TYPE_VEC2);
    return b.Mesh("plate", attributes, b.Indices({0, 1, 2}));
}

}  // namespace

// glTF's +Y is the game's +Z: a file authored Y-up and one authored Z-up under a root node
// that turns it upright give the same model; t is stored as glTF's v, and the winding turns.
TEST(GltfImport, AxesNodeTransformsAndCorners) {
    struct Case {
        const char* name;
        bool zUpUnderRoot;
        bool normals;
        bool texCoords;
    };
    for (const Case& c : {Case{"y-up", false, true, true}, Case{"z-up under a root", true, true, true},
                          Case{"without normals or texture coordinates", false, false, false}}) {
        SCOPED_TRACE(c.name);
        GltfBuilder b;
        const int mesh = FlatTriangle(b, c.zUpUnderRoot, c.normals, c.texCoords);
        if (c.zUpUnderRoot) {
            // A root turning -90 degrees about X stands the Z-up model up in glTF's Y-up, and
            // scales it by 2 and moves it; a child halves it and moves it back.
            const int root = b.Node("root");
            const double h = std::sqrt(0.5);
            b.model.nodes[0].rotation = {-h, 0, 0, h};
            b.model.nodes[0].scale = {2, 2, 2};
            b.model.nodes[0].translation = {10, 0, 0};
            const int child = b.Node("child", root, mesh);
            b.model.nodes[static_cast<std::size_t>(child)].scale = {0.5, 0.5, 0.5};
            b.model.nodes[static_cast<std::size_t>(child)].translation = {-5, 0, 0};
        } else {
            b.Node("plate", -1, mesh);
        }
        TMD3 md3;
        std::string message;
        ASSERT_TRUE(Convert(b, md3, message)) << message;
        ASSERT_EQ(md3.header.numSurfaces, 1);
        const TSurface& s = md3.header.surfaces[0];
        ASSERT_EQ(s.numVerts, 3);
        // glTF (0,0,4) is the game's (0,-4,0); the triangle faces the game's +Z.
        ExpectNear(Position(md3, 0, 0, 1), {0, -4, 0});
        ExpectNear(Position(md3, 0, 0, 2), {4, 0, 0});
        EXPECT_EQ(s.triangles[0].indexes[0], 2);
        EXPECT_EQ(s.triangles[0].indexes[1], 1);
        EXPECT_EQ(s.triangles[0].indexes[2], 0);
        for (int v = 0; v < 3; ++v) ExpectNear(TMD3::DecodeNormal(s.vertices[static_cast<std::size_t>(v)].normal), {0, 0, 1}, 0.05f);
        // The model holds t flipped (1 - the file's t), and the file's t is glTF's v.
        EXPECT_FLOAT_EQ(s.texCoords[2].s, c.texCoords ? 1.0f : 0.0f);
        EXPECT_FLOAT_EQ(s.texCoords[1].t, c.texCoords ? 0.0f : 1.0f);
        EXPECT_FLOAT_EQ(s.texCoords[2].t, c.texCoords ? 0.75f : 1.0f);
    }
}
