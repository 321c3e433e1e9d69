// The pose's sign conventions, the shared-bones path against the per-surface one, and the
// refusal of pairs that do not fit together.
#include <gtest/gtest.h>

#include <cstring>

#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_pose.h"
#include "skeletal/skeletal_poser.h"
#include "skeletal_test_util.h"

namespace {

using namespace skeletal_test;

// Offset directions come from the game's sine table, whose cosine of 0 is 0.9999988: a child
// lies 0.00002 short of its parentDist, as in the game.
void ExpectNear(TVector3 actual, TVector3 expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 5e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 5e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 5e-5f) << what;
}

// A root with the given angles, a child at parentDist with the given offset angles, and one
// vertex with a single weight of 1.
struct PoseCase {
    const char* what;
    std::int16_t rootAngles[3];  // pitch, yaw, roll
    float parentDist;
    std::int16_t childOffsetAngles[2];
    int weightBone;
    TVector3 offset;
    TVector3 vertex;  // expected
    TVector3 child;   // expected
    TVector3 parentOffset = {};
    TVector3 root = {};  // expected
};

TEST(SkeletalPose, SignConventions) {
    const PoseCase cases[] = {
        {"a root without a parent offset stays at the origin",
         {1234, -5000, 777},
         10,
         {0, 0},
         0,
         {0, 0, 0},
         {0, 0, 0},
         {10, 0, 0}},
        {"a child lies along x", {0, 0, 0}, 10, {0, 0}, 1, {0, 0, 0}, {10, 0, 0}, {10, 0, 0}},
        {"y is mirrored on input", {0, 0, 0}, 10, {0, 0}, 0, {0, 1, 0}, {0, -1, 0}, {10, 0, 0}},
        {"z is negated on output", {0, 0, 0}, 10, {0, 0}, 0, {0, 0, 1}, {0, 0, -1}, {10, 0, 0}},
        {"yaw 90", {0, 16384, 0}, 10, {0, 0}, 0, {1, 0, 0}, {0, 1, 0}, {10, 0, 0}},
        {"pitch 90 enters negated",
         {16384, 0, 0},
         10,
         {0, 0},
         0,
         {1, 0, 0},
         {0, 0, -1},
         {10, 0, 0}},
        // The table's quarter turn is 0.088 degrees past 90, as in the game.
        {"offset yaw 90",
         {0, 0, 0},
         10,
         {0, 16384},
         1,
         {0, 0, 0},
         {-0.0307095f, -10, 0},
         {-0.0307095f, -10, 0}},
        {"a root stands at the frame's parent offset, mirrored like any input",
         {0, 0, 0},
         10,
         {0, 0},
         0,
         {0, 0, 1},
         {1, -2, -4},
         {11, -2, -3},
         {1, 2, 3},
         {1, -2, -3}},
    };
    for (const PoseCase& c : cases) {
        TMDM mesh;
        TMDX anim;
        MakePair(mesh, anim,
                 {.surfaces = 1, .vertsPerSurface = 1, .tags = 0, .frames = 1, .bones = 2});
        TMDXBoneFrame& root = anim.frames[0].boneFrames[0];
        TMDXBoneFrame& child = anim.frames[0].boneFrames[1];
        root = {};
        child = {};
        for (int k = 0; k < 3; ++k)
            root.angles[k] = c.rootAngles[k];
        child.ofsAngles[0] = c.childOffsetAngles[0];
        child.ofsAngles[1] = c.childOffsetAngles[1];
        anim.bones[1].parentDist = c.parentDist;
        anim.frames[0].parentOffset = c.parentOffset;
        SetWeights(mesh.surfaces[0].vertices[0], {{c.weightBone, 1.0f, c.offset}});

        ASSERT_TRUE(SkeletalPose(mesh, anim, 0, 0)) << c.what;
        ExpectNear(mesh.pose.bonePositions[0], c.root, c.what);
        ExpectNear(mesh.pose.bonePositions[1], c.child, c.what);
        ExpectNear(mesh.pose.vertexPositions[0], c.vertex, c.what);
    }
}

TEST(SkeletalPose, AFrameOutsideTheAnimationChangesNothing) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.frames = 3});
    ASSERT_TRUE(SkeletalPose(mesh, anim, 2, 1));
    const TSkeletalPoseBuffers before = mesh.pose;
    EXPECT_FALSE(SkeletalPose(mesh, anim, 3, 0));
    EXPECT_FALSE(SkeletalPose(mesh, anim, static_cast<std::uint32_t>(-1), 0));
    TSkeletalPoser poser;
    EXPECT_FALSE(poser.PoseFrame(mesh, anim, 3));
    poser.PoseSurface(mesh, 0);
    EXPECT_EQ(mesh.pose.vertexPositions.size(), before.vertexPositions.size());
    EXPECT_EQ(std::memcmp(mesh.pose.vertexPositions.data(), before.vertexPositions.data(),
                          before.vertexPositions.size() * sizeof(TVector3)),
              0);
}

TEST(SkeletalPose, TagFramesAreRotationsLikeTheirBones) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.tags = 1, .frames = 3});
    ASSERT_TRUE(SkeletalPose(mesh, anim, 2, 0));
    const auto& a = mesh.pose.tagAxes[0];
    // The stored axes are the identity, so the posed frame is right-handed like any rotation.
    EXPECT_NEAR(VectorDot(VectorCross(a[0], a[1]), a[2]), 1.0f, 1e-5f);
}

// Bitwise equality of everything a pose writes.
template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

TEST(SkeletalPose, SharedBonesGiveTheSameBitsAsPosingEachSurface) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 3, .vertsPerSurface = 9, .tags = 3, .frames = 6, .bones = 5});
    TMDM reference = mesh;
    TSkeletalPoser poser;
    for (std::uint32_t f = 0; f < 6; ++f) {
        ASSERT_TRUE(poser.PoseFrame(mesh, anim, f));
        poser.PoseTags(mesh);
        for (std::uint32_t s = 0; s < 4; ++s) {  // 3 is outside the mesh
            poser.PoseSurface(mesh, s);
            ASSERT_TRUE(SkeletalPose(reference, anim, f, s));
            const TSkeletalPoseBuffers& a = mesh.pose;
            const TSkeletalPoseBuffers& b = reference.pose;
            EXPECT_TRUE(SameBits(a.bonePositions, b.bonePositions) &&
                        SameBits(a.boneMatrices, b.boneMatrices) &&
                        SameBits(a.inverseBoneMatrices, b.inverseBoneMatrices) &&
                        SameBits(a.vertexPositions, b.vertexPositions) &&
                        SameBits(a.vertexNormals, b.vertexNormals) &&
                        SameBits(a.tagOrigins, b.tagOrigins) && SameBits(a.tagAxes, b.tagAxes))
                << "frame " << f << " surface " << s;
        }
    }
}

TEST(SkeletalPose, PairsThatDoNotFitAreNamedNotIndexed) {
    struct Case {
        void (*spoil)(TMDM&, TMDX&);
        const char* reason;
    };
    const Case cases[] = {
        {[](TMDM& m, TMDX&) { m.surfaces[1].vertices[2].weights[0].boneIndex = 60; },
         "surface 1 (\"surface1\"), vertex 2: bone index 60 outside the animation's 3 bones"},
        {[](TMDM& m, TMDX&) { m.surfaces[0].boneReferences[1] = 3; },
         "surface 0 (\"surface0\"): bone reference 3 outside the animation's 3 bones"},
        {[](TMDM& m, TMDX&) { m.tags[1].boneIndex = 7; },
         "tag 1 (\"tag_1\"): bone index 7 outside the animation's 3 bones"},
        {[](TMDM&, TMDX& a) { a.bones[1].parent = 2; },
         "bone 1 (\"bone1\") has the parent 2, which is not an earlier bone"},
        {[](TMDM&, TMDX& a) { a.frames[2].boneFrames.pop_back(); },
         "the animation is inconsistent: frame 2 holds 2 bone frames for 3 bones"},
    };
    for (const Case& c : cases) {
        TMDM mesh;
        TMDX anim;
        MakePair(mesh, anim, {.frames = 3, .bones = 3});
        EXPECT_EQ(SkeletalPairProblem(mesh, anim), "");
        c.spoil(mesh, anim);
        EXPECT_EQ(SkeletalPairProblem(mesh, anim), c.reason);
        // Posing anyway reads nothing outside an array.
        for (std::uint32_t f = 0; f < 3; ++f) {
            for (std::uint32_t s = 0; s < 2; ++s)
                SkeletalPose(mesh, anim, f, s);
        }
    }
}

}  // namespace
