#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "import/gltf_axes.h"
#include "import/gltf_export.h"
#include "io/user_prompts.h"
#include "model_factory.h"
#include "shader/gl_blend_factors.h"
#include "shader/shader_stage.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_pose.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

template <typename T>
std::vector<T> Values(const tinygltf::Model& m, int accessor) {
    const tinygltf::Accessor& a = m.accessors.at(static_cast<std::size_t>(accessor));
    const tinygltf::BufferView& v = m.bufferViews.at(static_cast<std::size_t>(a.bufferView));
    const auto bytes =
        a.count * static_cast<std::size_t>(tinygltf::GetNumComponentsInType(a.type) *
                                           tinygltf::GetComponentSizeInBytes(a.componentType));
    std::vector<T> out(bytes / sizeof(T));
    std::memcpy(out.data(), m.buffers[0].data.data() + v.byteOffset + a.byteOffset,
                out.size() * sizeof(T));
    return out;
}

const tinygltf::Node* Named(const tinygltf::Model& m, const std::string& name, int* index) {
    for (std::size_t i = 0; i < m.nodes.size(); ++i) {
        if (m.nodes[i].name == name) {
            *index = static_cast<int>(i);
            return &m.nodes[i];
        }
    }
    return nullptr;
}

// The value a channel of `node` gives at keyframe `k`.
std::vector<float> Sampled(const tinygltf::Model& m, const tinygltf::Animation& a, int node,
                           const std::string& path, std::size_t k) {
    for (const tinygltf::AnimationChannel& c : a.channels) {
        if (c.target_node != node || c.target_path != path) continue;
        const std::vector<float> all =
            Values<float>(m, a.samplers[static_cast<std::size_t>(c.sampler)].output);
        const std::size_t keys =
            m.accessors[static_cast<std::size_t>(
                            a.samplers[static_cast<std::size_t>(c.sampler)].input)]
                .count;
        const std::size_t width = all.size() / keys;
        return {all.begin() + static_cast<std::ptrdiff_t>(k * width),
                all.begin() + static_cast<std::ptrdiff_t>((k + 1) * width)};
    }
    return {};
}

struct Check {
    const char* what;
    double actual;
    double expected;
};

TEST(GltfExport, VertexModelNumbers) {
    TMD3 model;
    MakeModel(model, {1, 32, 3, 1, 1});
    // Frame 2 turns the tag a quarter to the left about the game's up axis.
    TMD3Tag& turned = model.header.tags[2];
    turned.axis[0] = kVectorPosY;
    turned.axis[1] = kVectorNegX;
    TGltfExport doc;
    ASSERT_GE(doc.AddMD3(model, 0, 2, 10.0, {}, "all"), 0);
    const tinygltf::Model& m = doc.Document();
    const tinygltf::Primitive& p = m.meshes.at(0).primitives.at(0);
    const TSurface& s = model.header.surfaces[0];
    const auto positions = Values<TVector3>(m, p.attributes.at("POSITION"));
    const auto uv = Values<std::array<float, 2>>(m, p.attributes.at("TEXCOORD_0"));
    const auto frame2 = Values<TVector3>(m, p.targets.at(1).at("POSITION"));
    const TMD3Vertex v0 = s.vertices[5], v2 = s.vertices[2 * 32 + 5];
    int tagNode = -1;
    ASSERT_NE(Named(m, "tag_0", &tagNode), nullptr);
    ASSERT_EQ(m.animations.size(), 1u);
    const tinygltf::Animation& a = m.animations[0];
    const auto tagAt2 = Sampled(m, a, tagNode, "translation", 2);
    const auto turnAt2 = Sampled(m, a, tagNode, "rotation", 2);
    const auto weightsAt2 = Sampled(m, a, 1, "weights", 2);
    const auto times = m.accessors.at(static_cast<std::size_t>(a.samplers.at(0).input));
    ASSERT_EQ(tagAt2.size(), 3u);
    ASSERT_EQ(turnAt2.size(), 4u);
    ASSERT_EQ(weightsAt2.size(), 2u);
    const double half = std::sqrt(0.5);
    const Check checks[] = {
        // Frame 0 stands on glTF's y: (x, y, z) of the game is (x, z, -y).
        {"x", positions[5].x, v0.x / 64.0},
        {"y is the game's z", positions[5].y, v0.z / 64.0},
        {"z is the game's -y", positions[5].z, -v0.y / 64.0},
        // The program holds t flipped; glTF gets the file's t back.
        {"t", uv[5][1], 1.0 - s.texCoords[5].t},
        {"s", uv[5][0], s.texCoords[5].s},
        {"morph target delta", frame2[5].y, (v2.z - v0.z) / 64.0},
        {"morph target delta x", frame2[5].x, (v2.x - v0.x) / 64.0},
        {"frame 2 shows target 2 alone", weightsAt2[1], 1.0},
        {"... and not target 1", weightsAt2[0], 0.0},
        {"last time at 10 fps", times.maxValues.at(0), 0.2},
        {"tag at frame 2, up", tagAt2[1], model.header.tags[2].origin.z},
        {"tag at frame 2, depth", tagAt2[2], -model.header.tags[2].origin.y},
        // A turn to the left about the game's up is one about glTF's +y.
        {"tag turn y", turnAt2[1], half},
        {"tag turn w", turnAt2[3], half},
        {"tag turn x", turnAt2[0], 0.0},
    };
    for (const Check& c : checks)
        EXPECT_NEAR(c.actual, c.expected, 1e-5) << c.what;
    // The game's clockwise front faces wind counter-clockwise in glTF: the corners reversed,
    // as the import reverses them back.
    const auto indices = Values<std::uint16_t>(m, p.indices);
    EXPECT_EQ(indices[0], s.triangles[0].indexes[2]);
    EXPECT_EQ(indices[2], s.triangles[0].indexes[0]);
    // A range outside the frames is refused.
    EXPECT_EQ(TGltfExport().AddMD3(model, 2, 3, 20.0, {}, "x"), -1);
}

TEST(GltfExport, PlayerJointsAndWeights) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {});
    // Every corner also hangs on bone 1 (10 units along x); corner 0 has five weights.
    for (TMDMVertex& v : mesh.surfaces[0].vertices) {
        const TVector3 c = v.weights[0].offset;
        const TVector3 fromBone1 = {c.x - 10.0f, c.y, c.z};
        v.weights = {{0, 0.5f, c}, {1, 0.5f, fromBone1}};
    }
    TMDMVertex& five = mesh.surfaces[0].vertices[0];
    const TVector3 c = five.weights[0].offset, d = five.weights[1].offset;
    five.weights = {{0, 0.4f, c}, {1, 0.3f, d}, {0, 0.15f, c}, {1, 0.1f, d}, {0, 0.05f, c}};
    for (TMDMVertex& v : mesh.surfaces[0].vertices)
        v.numWeights = static_cast<std::int32_t>(v.weights.size());

    TGltfExport doc;
    ASSERT_TRUE(doc.AddPlayer(mesh, anim, {{"all", 0, 3, 20.0}}, {}));
    const tinygltf::Model& m = doc.Document();
    ASSERT_EQ(m.skins.size(), 1u);
    const auto inverseBinds = Values<std::array<float, 16>>(m, m.skins[0].inverseBindMatrices);
    const tinygltf::Primitive& p = m.meshes.at(0).primitives.at(0);
    const auto weights = Values<std::array<float, 4>>(m, p.attributes.at("WEIGHTS_0"));
    const auto positions = Values<TVector3>(m, p.attributes.at("POSITION"));
    int tagNode = -1;
    const tinygltf::Node* tag = Named(m, "tag_0", &tagNode);
    ASSERT_NE(tag, nullptr);
    const Check checks[] = {
        // Bone 1 lies 10 units along x in the bind pose, unturned.
        {"inverse bind x", inverseBinds[1][12], -10.0},
        {"inverse bind y", inverseBinds[1][13], 0.0},
        {"inverse bind turn", inverseBinds[1][0], 1.0},
        {"inverse bind root", inverseBinds[0][12], 0.0},
        // The four largest of five weights, scaled to sum to 1.
        {"first weight", weights[0][0], 0.4 / 0.95},
        {"fourth weight", weights[0][3], 0.1 / 0.95},
        {"sum", weights[0][0] + weights[0][1] + weights[0][2] + weights[0][3], 1.0},
        {"bound corner x", positions[2].x, 20.0},
        {"bound corner depth", positions[2].z, -20.0},
        // The tag keeps its offset in its bone's frame, in glTF's axes.
        {"tag up", tag->translation.at(1), 3.0},
        {"tag depth", tag->translation.at(2), -5.0},
    };
    for (const Check& k : checks)
        EXPECT_NEAR(k.actual, k.expected, 1e-4) << k.what;
    ASSERT_EQ(doc.Notes().size(), 1u);
    EXPECT_EQ(doc.Notes()[0].find("1 vertices had more than four weights"), 0u);
}

// The column-major matrix of a glTF node's translation and rotation.
std::array<double, 16> NodeMatrix(const std::vector<float>& t, const std::vector<float>& q) {
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    return {1 - 2 * (y * y + z * z),
            2 * (x * y + w * z),
            2 * (x * z - w * y),
            0,
            2 * (x * y - w * z),
            1 - 2 * (x * x + z * z),
            2 * (y * z + w * x),
            0,
            2 * (x * z + w * y),
            2 * (y * z - w * x),
            1 - 2 * (x * x + y * y),
            0,
            t[0],
            t[1],
            t[2],
            1};
}

template <typename A, typename B>
std::array<double, 16> Times(const A& a, const B& b) {
    std::array<double, 16> r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}

// Skinning the export as any glTF viewer does lands the vertices where the game poses them,
// within the bind pose's stated gap, and the tags with them.
TEST(GltfExport, SkinnedPlayerPosesAsTheGame) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    const std::string dir = testing_support::SampleDir("mdm").parent_path().string();
    TMDM mesh;
    TMDX anim;
    FixedAnswerPrompts yes(true);
    ASSERT_TRUE(mesh.LoadFromFile(dir + "/mdm/allied_soldier_body.mdm", yes));
    ASSERT_TRUE(anim.LoadFromFile(dir + "/mdx/binocs.mdx"));
    TGltfExport doc;
    ASSERT_TRUE(doc.AddPlayer(mesh, anim, {{"binocs", 4, 12, 20.0}}, {}));
    const tinygltf::Model& m = doc.Document();
    const tinygltf::Animation& a = m.animations.at(0);
    const std::uint32_t key = 7, frame = 4 + key;

    // Joint matrices from the animation, parents first (bones come in that order).
    const std::vector<int>& joints = m.skins[0].joints;
    std::vector<std::array<double, 16>> world(m.nodes.size());
    std::vector<int> parentOf(m.nodes.size(), -1);
    for (std::size_t n = 0; n < m.nodes.size(); ++n)
        for (int child : m.nodes[n].children)
            parentOf[static_cast<std::size_t>(child)] = static_cast<int>(n);
    for (int j : joints) {
        const auto local =
            NodeMatrix(Sampled(m, a, j, "translation", key), Sampled(m, a, j, "rotation", key));
        const int parent = parentOf[static_cast<std::size_t>(j)];
        world[static_cast<std::size_t>(j)] =
            parent < 0 ? local : Times(world[static_cast<std::size_t>(parent)], local);
    }
    const auto inverseBinds = Values<std::array<float, 16>>(m, m.skins[0].inverseBindMatrices);
    double largest = 0.0, sum = 0.0;
    std::size_t count = 0;
    for (std::uint32_t s = 0; s < mesh.surfaces.size(); ++s) {
        ASSERT_TRUE(SkeletalPose(mesh, anim, frame, s));
        const tinygltf::Primitive& p = m.meshes.at(s).primitives.at(0);
        const auto bound = Values<TVector3>(m, p.attributes.at("POSITION"));
        const auto jointsOf = Values<std::array<std::uint16_t, 4>>(m, p.attributes.at("JOINTS_0"));
        const auto weights = Values<std::array<float, 4>>(m, p.attributes.at("WEIGHTS_0"));
        for (std::size_t v = 0; v < bound.size(); ++v) {
            double skinned[3] = {0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                const std::size_t j = jointsOf[v][static_cast<std::size_t>(i)];
                const auto placed =
                    Times(world[static_cast<std::size_t>(joints[j])], inverseBinds[j]);
                const double b[3] = {bound[v].x, bound[v].y, bound[v].z};
                for (int r = 0; r < 3; ++r)
                    skinned[r] += weights[v][static_cast<std::size_t>(i)] *
                                  (placed[r] * b[0] + placed[4 + r] * b[1] + placed[8 + r] * b[2] +
                                   placed[12 + r]);
            }
            const TVector3 game = GltfFromGame(GameFromPose(mesh.pose.vertexPositions[v]));
            const double gap =
                std::hypot(skinned[0] - game.x, skinned[1] - game.y, skinned[2] - game.z);
            largest = std::max(largest, gap);
            sum += gap;
            ++count;
        }
    }
    // What the bind pose costs: a fraction of a unit at the worst vertex, far less on average.
    EXPECT_LT(largest, 1.0);
    EXPECT_LT(sum / static_cast<double>(count), 1.0 / 64.0);

    // A tag node under its joint stands where the game poses the tag.
    int headNode = -1;
    const tinygltf::Node* head = Named(m, "tag_head", &headNode);
    ASSERT_NE(head, nullptr);
    const auto placed = Times(
        world[static_cast<std::size_t>(parentOf[static_cast<std::size_t>(headNode)])],
        NodeMatrix(
            {static_cast<float>(head->translation[0]), static_cast<float>(head->translation[1]),
             static_cast<float>(head->translation[2])},
            {static_cast<float>(head->rotation[0]), static_cast<float>(head->rotation[1]),
             static_cast<float>(head->rotation[2]), static_cast<float>(head->rotation[3])}));
    std::size_t t = 0;
    while (NameFieldText(mesh.tags[t].name) != "tag_head")
        ++t;
    const TVector3 origin = GltfFromGame(GameFromPose(mesh.pose.tagOrigins[t]));
    EXPECT_NEAR(placed[12], origin.x, 1e-3);
    EXPECT_NEAR(placed[13], origin.y, 1e-3);
    EXPECT_NEAR(placed[14], origin.z, 1e-3);
}

TEST(GltfExport, AlphaModeOfFirstStage) {
    struct Case {
        std::uint8_t alphaFunc;
        std::int32_t src, dst;
        TGltfAlpha expected;
    } cases[] = {
        {kAlphaFuncNone, 0, 0, TGltfAlpha::Opaque},
        {kAlphaFuncNone, kGlDstColor, kGlZero, TGltfAlpha::Opaque},
        {kAlphaFuncNone, kGlOne, kGlZero, TGltfAlpha::Opaque},
        {kAlphaFuncGE128, 0, 0, TGltfAlpha::Mask},
        {kAlphaFuncGT0, kGlSrcAlpha, kGlOneMinusSrcAlpha, TGltfAlpha::Mask},
        {kAlphaFuncNone, kGlSrcAlpha, kGlOneMinusSrcAlpha, TGltfAlpha::Blend},
        {kAlphaFuncNone, kGlOne, kGlOne, TGltfAlpha::Blend},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GltfAlphaOf(c.alphaFunc, c.src, c.dst), c.expected)
            << int(c.alphaFunc) << " " << c.src << " " << c.dst;
}

}  // namespace
