// Default bone names, weight scaling, and normals recalculated or smoothed on the pose.
#include <gtest/gtest.h>

#include "md3/md3.h"
#include "skeletal/skeletal_edits.h"
#include "skeletal/skeletal_pose.h"
#include "skeletal_test_util.h"

namespace {

using namespace skeletal_test;

void ExpectNear(TVector3 actual, TVector3 expected, float eps, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, eps) << what;
    EXPECT_NEAR(actual.y, expected.y, eps) << what;
    EXPECT_NEAR(actual.z, expected.z, eps) << what;
}

TEST(SkeletalEdits, DefaultBoneNamesOnlyForTheFullSkeleton) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.bones = 53});
    ASSERT_TRUE(SetDefaultBoneNames(anim));
    EXPECT_EQ(NameFieldText(anim.bones[0].name), "Bip01 Pelvis");
    EXPECT_EQ(NameFieldText(anim.bones[29].name), "Bip01 R Hand");
    EXPECT_EQ(NameFieldText(anim.bones[52].name), "Bip01 R Toe0");
    MakePair(mesh, anim, {.bones = 52});
    EXPECT_FALSE(SetDefaultBoneNames(anim));
    EXPECT_EQ(NameFieldText(anim.bones[0].name), "bone0");
}

TEST(SkeletalEdits, ScaleWeightsFromTheInputBox) {
    struct Case {
        std::optional<std::string> typed;
        bool scaled;
        float firstWeight;
    };
    const Case cases[] = {{"0.5", true, 0.5f},  {" 2 ", true, 2.0f},  {"1", false, 1.0f},
                          {"1.0", false, 1.0f}, {"abc", false, 1.0f}, {std::nullopt, false, 1.0f}};
    for (const Case& c : cases) {
        TMDM mesh;
        TMDX anim;
        MakePair(mesh, anim);
        ScriptedPrompts prompts;
        prompts.texts = {c.typed};
        EXPECT_EQ(AskAndScaleWeights(mesh, prompts), c.scaled) << c.typed.value_or("cancel");
        EXPECT_EQ(prompts.captions[0], "Scaling Factor");
        EXPECT_EQ(prompts.questions[0], "Enter the scaling factor");
        EXPECT_EQ(mesh.surfaces[0].vertices[0].weights[0].boneWeight, c.firstWeight);
        EXPECT_EQ(mesh.surfaces[1].vertices[1].weights[1].boneWeight, 0.25f * c.firstWeight);
    }
}

// One surface of three vertices on a turned root bone.
void MakeTriangle(TMDM& mesh, TMDX& anim, const TVector3 (&offsets)[3]) {
    MakePair(mesh, anim, {.surfaces = 1, .vertsPerSurface = 3, .tags = 0, .frames = 2, .bones = 1});
    for (int v = 0; v < 3; ++v)
        SetWeights(mesh.surfaces[0].vertices[v], {{0, 1.0f, offsets[v]}});
}

TEST(SkeletalEdits, RecalculatedNormalsPoseToTheTriangleNormal) {
    TMDM mesh;
    TMDX anim;
    MakeTriangle(mesh, anim, {{0, 0, 0}, {4, 1, 0}, {1, 3, 2}});
    ASSERT_TRUE(RecalculateNormals(mesh, anim, 1, 0));
    const TMDMTriangle kept = mesh.surfaces[0].triangles[0];
    EXPECT_EQ(kept.indexes[0], 0);
    ASSERT_TRUE(SkeletalPose(mesh, anim, 1, 0));
    const auto& p = mesh.pose.vertexPositions;
    const TVector3 n = TriangleNormal(p[2], p[1], p[0]);
    for (int v = 0; v < 3; ++v)
        ExpectNear(mesh.pose.vertexNormals[v], n, 1e-5f, "vertex " + std::to_string(v));
    EXPECT_FALSE(RecalculateNormals(mesh, anim, 2, 0));
    EXPECT_FALSE(RecalculateNormals(mesh, anim, 0, 1));
}

TEST(SkeletalEdits, ATriangleFailingTheOrientationTestIsTurnedRound) {
    // Three points on a line have no normal, and no side to lie behind.
    TMDM mesh;
    TMDX anim;
    MakeTriangle(mesh, anim, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    ASSERT_TRUE(RecalculateNormals(mesh, anim, 0, 0));
    const TMDMTriangle t = mesh.surfaces[0].triangles[0];
    EXPECT_EQ(t.indexes[0], 2);
    EXPECT_EQ(t.indexes[1], 1);
    EXPECT_EQ(t.indexes[2], 0);
}

TEST(SkeletalEdits, SmoothingAveragesCoincidingVertices) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 1, .vertsPerSurface = 6, .tags = 0, .bones = 1});
    // Two triangles folded along a seam whose vertices are split: 1 and 3 coincide, as do
    // 2 and 4.
    const TVector3 offsets[6] = {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {4, 0, 0}, {0, 4, 0}, {3, 3, 3}};
    for (int v = 0; v < 6; ++v)
        SetWeights(mesh.surfaces[0].vertices[v], {{0, 1.0f, offsets[v]}});
    mesh.surfaces[0].triangles = {{{0, 1, 2}}, {{3, 5, 4}}};
    mesh.surfaces[0].numTriangles = 2;

    ASSERT_TRUE(SmoothSurface(mesh, anim, 0));
    EXPECT_EQ(SmoothedStatusText(mesh, 0), "Surface[\"surface0\"] smoothed..");
    const TSkeletalPoseBuffers smoothed = mesh.pose;
    EXPECT_EQ(smoothed.vertexNormals[1], smoothed.vertexNormals[3]);
    EXPECT_EQ(smoothed.vertexNormals[2], smoothed.vertexNormals[4]);
    const auto& p = smoothed.vertexPositions;
    EXPECT_GT(VectorLength(smoothed.vertexNormals[1] - TriangleNormal(p[2], p[1], p[0])), 0.1f);
    // The stored normals pose back to the smoothed ones.
    ASSERT_TRUE(SkeletalPose(mesh, anim, 0, 0));
    for (int v : {1, 2, 3, 4})
        ExpectNear(mesh.pose.vertexNormals[v], smoothed.vertexNormals[v], 1e-5f, "posed");
}

}  // namespace
