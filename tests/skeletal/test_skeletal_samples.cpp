// The game's own player files: each reads, writes back byte for byte and reads again; the
// engineer poses through the whole body animation; a baked player stands like the game's
// MD3 models.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "md3/md3.h"
#include "skeletal/aninc.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_poser.h"
#include "skeletal_test_util.h"
#include "support/test_files.h"

namespace {

using namespace skeletal_test;
using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::SampleFiles;
using testing_support::ScratchDir;

TEST(SkeletalSamples, EveryMeshAndAnimationRoundTripsByteForByte) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    for (const auto& file : SampleFiles("mdm")) {
        SCOPED_TRACE(file.filename().string());
        TMDM mesh;
        ScriptedPrompts prompts;
        ASSERT_TRUE(mesh.LoadFromFile(file.string(), prompts)) << mesh.LastError();
        EXPECT_TRUE(prompts.questions.empty());
        ASSERT_TRUE(mesh.SaveToFile(dir.File("copy.mdm"))) << mesh.LastError();
        EXPECT_EQ(ReadBytes(dir.File("copy.mdm")), ReadBytes(file.string()));
        TMDM again;
        EXPECT_TRUE(again.LoadFromFile(dir.File("copy.mdm"), prompts));
    }
    for (const auto& file : SampleFiles("mdx")) {
        SCOPED_TRACE(file.filename().string());
        TMDX anim;
        ASSERT_TRUE(anim.LoadFromFile(file.string())) << anim.LastError();
        ASSERT_TRUE(anim.SaveToFile(dir.File("copy.mdx"))) << anim.LastError();
        EXPECT_EQ(ReadBytes(dir.File("copy.mdx")), ReadBytes(file.string()));
        TMDX again;
        EXPECT_TRUE(again.LoadFromFile(dir.File("copy.mdx")));
    }
}

TEST(SkeletalSamples, EveryAnimationListReads) {
    VELDRA_REQUIRE_SAMPLES("aninc");
    const std::pair<const char*, std::size_t> lists[] = {
        {"akimbo.aninc", 5},      {"binocs.aninc", 3}, {"body.aninc", 194},
        {"etl_body.aninc", 194},  {"mortar.aninc", 3}, {"no_juice.aninc", 1},
        {"prone_pistol.aninc", 6}};
    for (const auto& [name, entries] : lists) {
        TANINC list;
        ASSERT_TRUE(list.LoadFromFile((SampleDir("aninc") / name).string()))
            << name << ": " << list.LastError();
        EXPECT_EQ(list.frames.size(), entries) << name;
    }
    TANINC body;
    ASSERT_TRUE(body.LoadFromFile((SampleDir("aninc") / "body.aninc").string()));
    EXPECT_EQ(body.frames[0].name, "death_machinegun_1");
    EXPECT_EQ(body.frames[2].firstFrame, 33);
    EXPECT_EQ(body.frames[2].numFrames, 52);
    EXPECT_EQ(body.frames[2].framesPerSecond, 20);
}

struct EngineerPair {
    TMDM mesh;
    TMDX anim;
    bool Load() {
        ScriptedPrompts prompts;
        return mesh.LoadFromFile((SampleDir("mdm") / "allied_engineer_body.mdm").string(),
                                 prompts) &&
               anim.LoadFromFile((SampleDir("mdx") / "body.mdx").string());
    }
};

bool Finite(TVector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(SkeletalSamples, TheEngineerPosesThroughEveryFrameOfTheBody) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    EngineerPair pair;
    ASSERT_TRUE(pair.Load());
    ASSERT_EQ(SkeletalPairProblem(pair.mesh, pair.anim), "");
    ASSERT_EQ(pair.anim.frames.size(), 4887u);
    TSkeletalPoser poser;
    std::size_t bad = 0;
    for (std::uint32_t f = 0; f < pair.anim.frames.size(); ++f) {
        ASSERT_TRUE(poser.PoseFrame(pair.mesh, pair.anim, f));
        poser.PoseTags(pair.mesh);
        for (TVector3 p : pair.mesh.pose.bonePositions)
            bad += !Finite(p);
        for (std::size_t t = 0; t < pair.mesh.tags.size(); ++t) {
            bad += !Finite(pair.mesh.pose.tagOrigins[t]);
            for (TVector3 axis : pair.mesh.pose.tagAxes[t])
                bad += !Finite(axis);
        }
        for (std::uint32_t s = 0; s < pair.mesh.surfaces.size(); ++s) {
            poser.PoseSurface(pair.mesh, s);
            for (std::size_t v = 0; v < pair.mesh.pose.vertexPositions.size(); ++v) {
                bad += !Finite(pair.mesh.pose.vertexPositions[v]) ||
                       !Finite(pair.mesh.pose.vertexNormals[v]);
            }
        }
    }
    EXPECT_EQ(bad, 0u);
}

// Where a baked tag of the first frame is, by name.
const TMD3Tag& Tag(const TMD3& md3, const char* name) {
    for (int t = 0; t < md3.header.numTags; ++t) {
        if (NameFieldText(md3.header.tags[t].name) == name) return md3.header.tags[t];
    }
    ADD_FAILURE() << "no tag " << name;
    return md3.header.tags[0];
}

TEST(SkeletalSamples, ABakedPlayerStandsUprightFacingXLikeTheGamesModels) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    EngineerPair pair;
    ASSERT_TRUE(pair.Load());
    TMD3 md3;
    ASSERT_TRUE(BakeFramesToMD3(pair.mesh, pair.anim, 0, 0, md3).baked);
    const TMD3Tag& head = Tag(md3, "tag_head");
    const TMD3Tag& leftFoot = Tag(md3, "tag_footleft");
    const TMD3Tag& rightFoot = Tag(md3, "tag_footright");
    EXPECT_GT(head.origin.z, 20.0f);
    EXPECT_LT(leftFoot.origin.z, -15.0f);
    // Facing +X, the left side is +Y.
    EXPECT_GT(leftFoot.origin.y, 0.0f);
    EXPECT_LT(rightFoot.origin.y, 0.0f);
    // A head attached to the tag looks along +X and stands along +Z, unmirrored.
    EXPECT_GT(head.axis[0].x, 0.9f);
    EXPECT_GT(head.axis[2].z, 0.9f);
    EXPECT_NEAR(VectorDot(VectorCross(head.axis[0], head.axis[1]), head.axis[2]), 1.0f, 1e-3f);
    // The whole mesh: the top of the head is far above the soles, and the soles rest on the
    // bottom of the game's player box (z = -24), where the frame's root offset puts them.
    short lowest = 32767, highest = -32768;
    for (const TSurface& s : md3.header.surfaces) {
        for (const TMD3Vertex& v : s.vertices) {
            lowest = std::min(lowest, v.z);
            highest = std::max(highest, v.z);
        }
    }
    EXPECT_NEAR(lowest, -24 * 64, 64);
    EXPECT_GT(highest, 25 * 64);
}

TEST(SkeletalSamples, SharedBonesBakeTheSameBytesAsPosingEachSurface) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    EngineerPair pair;
    ASSERT_TRUE(pair.Load());
    ScratchDir dir;
    TMD3 shared, perSurface;
    ASSERT_TRUE(BakeFramesToMD3(pair.mesh, pair.anim, 100, 160, shared).baked);
    ASSERT_TRUE(
        BakeFramesToMD3(pair.mesh, pair.anim, 100, 160, perSurface, TBakePose::PerSurface).baked);
    ASSERT_TRUE(shared.SaveToFile(dir.File("a.md3")));
    ASSERT_TRUE(perSurface.SaveToFile(dir.File("b.md3")));
    EXPECT_EQ(ReadBytes(dir.File("a.md3")), ReadBytes(dir.File("b.md3")));
}

}  // namespace
