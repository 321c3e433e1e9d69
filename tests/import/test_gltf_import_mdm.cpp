// A skinned glTF whose joints carry a player skeleton's bone names becomes an MDM mesh and an
// MDX animation that, posed as the game poses them, stand where the glTF's own pose puts the
// vertices and tags, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "gltf_builder.h"
#include "import/gltf_import.h"
#include "io/user_prompts.h"
#include "lod/collapse_map.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_pose.h"

namespace {

// Pelvis, spine 4 units above it, head 4 above that (glTF's y is up); a tag on the head.
// Twelve vertices around the chain, each weighted to one, two or three bones, each with its
// own s to find it again after the reorder of the collapse map. The spine turns a quarter
// about glTF's z, the head an eighth about x, the pelvis walks 2 units, in one second.
GltfBuilder Player() {
    GltfBuilder b;
    const char* names[] = {"Bip01 Pelvis", "Bip01 Spine", "Bip01 Head"};
    std::vector<int> joints;
    for (int k = 0; k < 3; ++k) {
        joints.push_back(b.Node(names[k], k == 0 ? -1 : joints.back()));
        if (k > 0) b.model.nodes.back().translation = {0, 4, 0};
    }
    const int tag = b.Node("tag_head", joints[2]);
    b.model.nodes[static_cast<std::size_t>(tag)].translation = {1, 2, 0};
    std::vector<float> positions, texCoords, ids, weights;
    std::vector<float> corners;
    for (int v = 0; v < 12; ++v) {
        const float angle = static_cast<float>(v) * 0.52f;
        positions.insert(positions.end(),
                         {3 * std::cos(angle), static_cast<float>(v) * 0.8f, 3 * std::sin(angle)});
        texCoords.insert(texCoords.end(), {static_cast<float>(v) / 16.0f, 0.5f});
        const int first = std::min(v / 4, 2);
        ids.insert(ids.end(),
                   {static_cast<float>(first), static_cast<float>(std::min(first + 1, 2)), 0, 0});
        weights.insert(weights.end(), v % 3 == 0 ? std::initializer_list<float>{1, 0, 0, 0}
                                      : v % 3 == 1
                                          ? std::initializer_list<float>{0.6f, 0.4f, 0, 0}
                                          : std::initializer_list<float>{0.5f, 0.3f, 0.2f, 0});
    }
    for (int v = 0; v + 2 < 12; ++v)
        corners.insert(corners.end(), {static_cast<float>(v), static_cast<float>(v + 1),
                                       static_cast<float>(v + 2)});
    const int position = b.Floats(positions, TINYGLTF_TYPE_VEC3);
    const int texCoord = b.Floats(texCoords, TINYGLTF_TYPE_VEC2);
    const int joint = b.Accessor(ids, TINYGLTF_TYPE_VEC4, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
    const int weight = b.Floats(weights, TINYGLTF_TYPE_VEC4);
    const int indices = b.Indices(corners);
    const int mesh = b.Mesh("body",
                            {{"POSITION", position},
                             {"TEXCOORD_0", texCoord},
                             {"JOINTS_0", joint},
                             {"WEIGHTS_0", weight}},
                            indices);
    tinygltf::Skin skin;
    skin.joints = joints;
    skin.inverseBindMatrices =
        b.Floats({1, 0, 0, 0, 0, 1,  0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1,  0, 0,
                  0, 0, 1, 0, 0, -4, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -8, 0, 1},
                 TINYGLTF_TYPE_MAT4);
    b.model.skins.push_back(skin);
    b.model.nodes[static_cast<std::size_t>(b.Node("body", -1, mesh))].skin = 0;
    const float q = static_cast<float>(std::sin(M_PI / 4)),
                e = static_cast<float>(std::sin(M_PI / 16));
    b.Channel(0, joints[1], "rotation", {0, 1}, {0, 0, 0, 1, 0, 0, q, q}, TINYGLTF_TYPE_VEC4);
    b.Channel(0, joints[2], "rotation", {0, 1}, {0, 0, 0, 1, e, 0, 0, std::sqrt(1 - e * e)},
              TINYGLTF_TYPE_VEC4);
    b.Channel(0, joints[0], "translation", {0, 1}, {0, 0, 0, 2, 0, 0}, TINYGLTF_TYPE_VEC3);
    b.model.animations[0].name = "turn";
    return b;
}

}  // namespace

TEST(GltfImportMDM, PlayerPosesAsTheGltfPosesIt) {
    GltfBuilder b = Player();
    const std::vector<std::uint8_t> bytes = b.Bytes();
    TGltfImport gltf;
    std::string message;
    ASSERT_TRUE(gltf.LoadGltfBytes(bytes, message)) << message;
    TMDM mesh;
    TMDX anim;
    ASSERT_TRUE(gltf.ConvertGltfToMDM(mesh, anim, message)) << message;
    EXPECT_EQ(gltf.SkippedText(), "");
    // The glTF's own pose, baked.
    TMD3 baked;
    FixedAnswerPrompts yes(true);
    ASSERT_TRUE(gltf.ConvertGltfToMD3(baked, yes, message)) << message;

    ASSERT_EQ(anim.header.numBones, 3u);
    EXPECT_EQ(NameFieldText(anim.bones[1].name), "Bip01 Spine");
    EXPECT_EQ(anim.bones[0].parent, -1);
    EXPECT_EQ(anim.bones[2].parent, 1);
    EXPECT_FLOAT_EQ(anim.bones[2].parentDist, 4.0f);
    ASSERT_EQ(anim.header.numFrames, 21u);
    ASSERT_EQ(mesh.header.numSurfaces, 1u);
    ASSERT_EQ(mesh.surfaces[0].numVerts, 12u);
    EXPECT_EQ(CollapseMapProblem(mesh), "");
    EXPECT_GT(mesh.surfaces[0].collapseMap[11], 0u);

    const TSurface& surface = baked.header.surfaces[0];
    std::map<float, int> bakedVertex;  // by s
    for (int v = 0; v < surface.numVerts; ++v)
        bakedVertex[surface.texCoords[static_cast<std::size_t>(v)].s] = v;
    float worst = 0;
    for (std::uint32_t f = 0; f < anim.header.numFrames; ++f) {
        ASSERT_TRUE(SkeletalPose(mesh, anim, f, 0));
        for (std::size_t v = 0; v < mesh.surfaces[0].vertices.size(); ++v) {
            const TVector3 posed = GameFromPose(mesh.pose.vertexPositions[v]);
            const TMD3Vertex& want =
                surface.vertices[f * static_cast<std::size_t>(surface.numVerts) +
                                 static_cast<std::size_t>(
                                     bakedVertex.at(mesh.surfaces[0].vertices[v].texCoords[0]))];
            // The bake rounds to the 1/64 grid; the pose must come within 1/64 of that.
            worst = std::max({worst, std::fabs(posed.x - want.x / 64.0f),
                              std::fabs(posed.y - want.y / 64.0f),
                              std::fabs(posed.z - want.z / 64.0f)});
        }
        const TVector3 tag = GameFromPose(mesh.pose.tagOrigins[0]);
        const TVector3 wantTag = baked.header.tags[f].origin;
        worst = std::max({worst, std::fabs(tag.x - wantTag.x), std::fabs(tag.y - wantTag.y),
                          std::fabs(tag.z - wantTag.z)});
    }
    EXPECT_LE(worst, 1.0f / 128.0f + 1.0f / 64.0f);
}

// What an MDX skeleton cannot hold is refused with the reason.
TEST(GltfImportMDM, SkeletonsTheMDXCannotHoldAreRefused) {
    struct Case {
        const char* name;
        std::function<void(GltfBuilder&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"a mesh without a skin", [](GltfBuilder& b) { b.model.nodes.back().skin = -1; },
         "mesh \"body\" has no skin; an MDM holds skinned meshes only"},
        {"two roots",
         [](GltfBuilder& b) {
             b.model.nodes[0].children.clear();
             b.model.scenes[0].nodes.push_back(1);
         },
         "the skin has 2 root joints; an MDX skeleton has one"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GltfBuilder b = Player();
        c.spoil(b);
        TGltfImport gltf;
        std::string message;
        ASSERT_TRUE(gltf.LoadGltfBytes(b.Bytes(), message)) << message;
        TMDM mesh;
        TMDX anim;
        EXPECT_FALSE(gltf.ConvertGltfToMDM(mesh, anim, message));
        EXPECT_EQ(message, c.reason);
        EXPECT_FALSE(mesh.IsValid());
    }
}
