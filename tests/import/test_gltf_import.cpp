// glTF files built in the test become MD3 models: axes stood up on the game's Z, node
// transforms applied down the tree, morph targets and skins baked per frame, tag_* nodes as
// tags, missing normals and texture coordinates made up.
#include <gtest/gtest.h>

#include <algorithm>
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
    if (normals)
        attributes["NORMAL"] = b.Floats({0, ny, nz, 0, ny, nz, 0, ny, nz}, TINYGLTF_TYPE_VEC3);
    if (texCoords)
        attributes["TEXCOORD_0"] = b.Floats({0, 0.25f, 0, 1, 1, 0.25f}, TINYGLTF_TYPE_VEC2);
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
        bool rootAsMatrix = false;
    };
    for (const Case& c :
         {Case{"y-up", false, true, true}, Case{"z-up under a root", true, true, true},
          Case{"z-up under a root given as a matrix", true, true, true, true},
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
            if (c.rootAsMatrix) {
                // The same turn, scale and move, column by column.
                b.model.nodes[0] = tinygltf::Node{};
                b.model.nodes[0].name = "root";
                b.model.nodes[0].matrix = {2, 0, 0, 0, 0, 0, -2, 0, 0, 2, 0, 0, 10, 0, 0, 1};
            }
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
        for (int v = 0; v < 3; ++v)
            ExpectNear(TMD3::DecodeNormal(s.vertices[static_cast<std::size_t>(v)].normal),
                       {0, 0, 1}, 0.05f);
        // The model holds t flipped (1 - the file's t), and the file's t is glTF's v.
        EXPECT_FLOAT_EQ(s.texCoords[2].s, c.texCoords ? 1.0f : 0.0f);
        EXPECT_FLOAT_EQ(s.texCoords[1].t, c.texCoords ? 0.0f : 1.0f);
        EXPECT_FLOAT_EQ(s.texCoords[2].t, c.texCoords ? 0.75f : 1.0f);
    }
}

// A morph target animated by its weight: sampled at 20 frames a second, cut by a range, and
// chosen by name.
TEST(GltfImport, MorphTargetAnimationBecomesFrames) {
    GltfBuilder b;
    const int mesh = FlatTriangle(b, false, true, true);
    tinygltf::Primitive& p = b.model.meshes[static_cast<std::size_t>(mesh)].primitives[0];
    // Vertex 0 rises 8 units (glTF y, the game's z) at full weight.
    p.targets.push_back({{"POSITION", b.Floats({0, 8, 0, 0, 0, 0, 0, 0, 0}, TINYGLTF_TYPE_VEC3)}});
    b.model.meshes[static_cast<std::size_t>(mesh)].weights = {0};
    const int node = b.Node("plate", -1, mesh);
    b.Channel(0, node, "weights", {0, 1}, {0, 1}, TINYGLTF_TYPE_SCALAR);
    b.model.animations[0].name = "grow";
    struct Case {
        TGltfImportChoice choice;
        int frames;
        float firstZ;  // of vertex 0 in the first frame kept
        float lastZ;
    };
    const Case cases[] = {
        {{}, 21, 0, 8},
        {{{}, "grow", TGltfFrameRange{5, 10}}, 6, 2, 4},
    };
    for (const Case& c : cases) {
        TMD3 md3;
        std::string message;
        ASSERT_TRUE(Convert(b, md3, message, c.choice)) << message;
        ASSERT_EQ(md3.header.numFrames, c.frames);
        ASSERT_EQ(md3.header.frames.size(), static_cast<std::size_t>(c.frames));
        EXPECT_NEAR(Position(md3, 0, 0, 0).z, c.firstZ, kGrid);
        EXPECT_NEAR(Position(md3, 0, c.frames - 1, 0).z, c.lastZ, kGrid);
        EXPECT_NEAR(md3.header.frames.back().maxBounds.z, c.lastZ, kGrid);
    }
}

// Eight joints move each vertex, four through JOINTS_0/WEIGHTS_0 and four through
// JOINTS_1/WEIGHTS_1: the baked position is the weighted mean of all eight, frame by frame.
// A tag_* node hung on a joint follows it.
TEST(GltfImport, SkinWithEightInfluencesAndTagsAreBakedPerFrame) {
    GltfBuilder b;
    std::vector<int> joints;
    for (int k = 0; k < 8; ++k) {
        joints.push_back(b.Node("joint" + std::to_string(k)));
        b.model.nodes.back().translation = {static_cast<double>(k), 0, 0};
    }
    const int tag = b.Node("tag_weapon", joints[7]);
    const double h = std::sqrt(0.5);
    // A quarter turn about glTF's up axis: the game's x turns to its y.
    b.model.nodes[static_cast<std::size_t>(tag)].rotation = {0, h, 0, h};
    b.model.nodes[static_cast<std::size_t>(tag)].translation = {0, 2, 0};
    std::vector<float> ids0, ids1, weights;
    for (int v = 0; v < 3; ++v) {
        ids0.insert(ids0.end(), {0, 1, 2, 3});
        ids1.insert(ids1.end(), {4, 5, 6, 7});
        weights.insert(weights.end(), {0.125f, 0.125f, 0.125f, 0.125f});
    }
    const int mesh = b.Mesh(
        "body",
        {{"POSITION", b.Floats({0, 0, 0, 0, 0, 4, 4, 0, 0}, TINYGLTF_TYPE_VEC3)},
         {"JOINTS_0", b.Accessor(ids0, TINYGLTF_TYPE_VEC4, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE)},
         {"JOINTS_1", b.Accessor(ids1, TINYGLTF_TYPE_VEC4, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT)},
         {"WEIGHTS_0", b.Floats(weights, TINYGLTF_TYPE_VEC4)},
         {"WEIGHTS_1", b.Floats(weights, TINYGLTF_TYPE_VEC4)}},
        b.Indices({0, 1, 2}));
    tinygltf::Skin skin;
    skin.joints = joints;
    std::vector<float> inverseBinds;
    for (int k = 0; k < 8; ++k)
        inverseBinds.insert(inverseBinds.end(),
                            {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -static_cast<float>(k), 0, 0, 1});
    skin.inverseBindMatrices = b.Floats(inverseBinds, TINYGLTF_TYPE_MAT4);
    b.model.skins.push_back(skin);
    const int body = b.Node("body", -1, mesh);
    b.model.nodes[static_cast<std::size_t>(body)].skin = 0;
    // Joint 7 moves 8 units along x in one second: the mean moves by 1.
    b.Channel(0, joints[7], "translation", {0, 1}, {7, 0, 0, 15, 0, 0}, TINYGLTF_TYPE_VEC3);

    TMD3 md3;
    std::string message;
    ASSERT_TRUE(Convert(b, md3, message)) << message;
    ASSERT_EQ(md3.header.numFrames, 21);
    ExpectNear(Position(md3, 0, 0, 2), {4, 0, 0});
    ExpectNear(Position(md3, 0, 20, 2), {5, 0, 0});
    ExpectNear(Position(md3, 0, 20, 1), {1, -4, 0});
    ASSERT_EQ(md3.header.numTags, 1);
    ASSERT_EQ(md3.header.tags.size(), 21u);
    const TMD3Tag& first = md3.header.tags.front();
    EXPECT_EQ(NameFieldText(first.name), "tag_weapon");
    ExpectNear(first.origin, {7, 0, 2});
    ExpectNear(md3.header.tags.back().origin, {15, 0, 2});
    ExpectNear(first.axis[0], {0, 1, 0}, 1e-5f);
    ExpectNear(first.axis[1], {-1, 0, 0}, 1e-5f);
    ExpectNear(first.axis[2], {0, 0, 1}, 1e-5f);
}

// The ways glTF lays out triangles and numbers: strips, fans, positions given only as sparse
// substitutions, texture coordinates as normalized bytes.
TEST(GltfImport, LayoutsOfTrianglesAndNumbers) {
    // A 4 x 4 square in glTF's XZ plane, corners in strip order.
    const std::vector<float> strip{0, 0, 0, 0, 0, 4, 4, 0, 0, 4, 0, 4};
    struct Case {
        const char* name;
        int mode;
        bool sparse;
        int triangles;
    };
    for (const Case& c : {Case{"strip", TINYGLTF_MODE_TRIANGLE_STRIP, false, 2},
                          Case{"fan", TINYGLTF_MODE_TRIANGLE_FAN, false, 2},
                          Case{"sparse list", TINYGLTF_MODE_TRIANGLES, true, 1}}) {
        SCOPED_TRACE(c.name);
        GltfBuilder b;
        std::vector<float> corners = strip;
        if (c.mode == TINYGLTF_MODE_TRIANGLE_FAN) corners = {0, 0, 0, 0, 0, 4, 4, 0, 4, 4, 0, 0};
        int positions = b.Floats(corners, TINYGLTF_TYPE_VEC3);
        if (c.sparse) {
            // Zeros everywhere but where the sparse values go: vertices 1 and 2.
            tinygltf::Accessor& a = b.model.accessors[static_cast<std::size_t>(positions)];
            a.bufferView = -1;
            a.count = 3;
            a.sparse.isSparse = true;
            a.sparse.count = 2;
            a.sparse.indices.bufferView = b.View({1, 0, 2, 0});  // unsigned shorts 1 and 2
            a.sparse.indices.byteOffset = 0;
            a.sparse.indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
            std::vector<std::uint8_t> values(24);
            const float v[6] = {0, 0, 4, 4, 0, 0};
            std::memcpy(values.data(), v, sizeof v);
            a.sparse.values.bufferView = b.View(values);
            a.sparse.values.byteOffset = 0;
        }
        const int texCoords = b.Accessor({0, 64, 0, 255, 255, 64, 255, 255}, TINYGLTF_TYPE_VEC2,
                                         TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, true);
        b.model.accessors[static_cast<std::size_t>(texCoords)].count =
            b.model.accessors[static_cast<std::size_t>(positions)].count;
        b.Node("square", -1,
               b.Mesh("square", {{"POSITION", positions}, {"TEXCOORD_0", texCoords}}, -1, c.mode));
        TMD3 md3;
        std::string message;
        ASSERT_TRUE(Convert(b, md3, message)) << message;
        const TSurface& s = md3.header.surfaces[0];
        ASSERT_EQ(s.numTriangles, c.triangles);
        for (const TMD3Triangle& t : s.triangles) {
            // The stored order is the game's, the reverse of glTF's: (b - c) x (a - c) is the
            // front, which must face the game's up.
            const TVector3 a = Position(md3, 0, 0, t.indexes[0]),
                           m = Position(md3, 0, 0, t.indexes[1]),
                           z = Position(md3, 0, 0, t.indexes[2]);
            EXPECT_GT(VectorCross(m - z, a - z).z, 0.0f);
        }
        // glTF vertex 0 has v = 64 of 255.
        EXPECT_TRUE(std::any_of(s.texCoords.begin(), s.texCoords.end(), [](const TMD3TexCoord& t) {
            return std::fabs(1.0f - t.t - 64.0f / 255.0f) < 1e-6f;
        }));
    }
}
