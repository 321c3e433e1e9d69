// Baking a frame range into an MD3 model, and the export command around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "md3/md3.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_pose.h"
#include "skeletal_test_util.h"
#include "support/test_files.h"

namespace {

using namespace skeletal_test;
using testing_support::ScratchDir;

TEST(SkeletalExport, OneFrameTakesTheBoundsAndThePoseOfItsMDXFrame) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 2, .vertsPerSurface = 5, .tags = 1, .frames = 8});
    TMD3 md3;
    const TBakeResult result = BakeFramesToMD3(mesh, anim, 5, 5, md3);
    ASSERT_TRUE(result.baked) << result.error;
    EXPECT_EQ(result.clamped, 0);
    const THeader& h = md3.header;
    ASSERT_EQ(h.numFrames, 1);
    EXPECT_EQ(h.frames[0].minBounds, anim.frames[5].minBounds);
    EXPECT_EQ(h.frames[0].maxBounds, anim.frames[5].maxBounds);
    EXPECT_EQ(h.frames[0].localOrigin, anim.frames[5].localOrigin);
    EXPECT_EQ(h.frames[0].radius, anim.frames[5].radius);
    EXPECT_EQ(std::memcmp(h.frames[0].name, "K MDMMDX Export\0", 16), 0);
    EXPECT_EQ(std::memcmp(h.name, mesh.header.name, 64), 0);

    for (std::uint32_t s = 0; s < 2; ++s) {
        SkeletalPose(mesh, anim, 5, s);
        const TSurface& out = h.surfaces[s];
        EXPECT_EQ(std::memcmp(out.shaders[0].name, mesh.surfaces[s].shader, 64), 0);
        ASSERT_EQ(out.vertices.size(), 5u);
        for (std::size_t k = 0; k < 5; ++k) {
            const TVector3 p = GameFromPose(mesh.pose.vertexPositions[k]);
            EXPECT_EQ(out.vertices[k].x, std::nearbyint(p.x * 64.0f));
            EXPECT_EQ(out.vertices[k].y, std::nearbyint(p.y * 64.0f));
            EXPECT_EQ(out.vertices[k].z, std::nearbyint(p.z * 64.0f));
            EXPECT_EQ(out.vertices[k].normal,
                      EncodeNormal(GameFromPose(mesh.pose.vertexNormals[k])));
            // The model holds t flipped, so the saved file carries the MDM's t.
            EXPECT_EQ(out.texCoords[k].t, 1.0f - mesh.surfaces[s].vertices[k].texCoords[1]);
        }
    }
}

TEST(SkeletalExport, TagsAreStoredFrameMajor) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.tags = 3, .frames = 6});
    TMD3 md3;
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 2, 5, md3).baked);
    ASSERT_EQ(md3.header.numTags, 3);
    ASSERT_EQ(md3.header.tags.size(), 12u);
    for (std::uint32_t f = 0; f < 4; ++f) {
        SkeletalPose(mesh, anim, 2 + f, 0);
        for (std::size_t t = 0; t < 3; ++t) {
            const TMD3Tag& tag = md3.header.tags[f * 3 + t];
            EXPECT_EQ(std::memcmp(tag.name, mesh.tags[t].name, 64), 0);
            EXPECT_EQ(tag.origin, GameFromPose(mesh.pose.tagOrigins[t]));
            EXPECT_EQ(tag.axis[1], GameFromPose(mesh.pose.tagAxes[t][1]));
        }
    }
    MakePair(mesh, anim, {.tags = 0});
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 0, 3, md3).baked);
    EXPECT_EQ(md3.header.numTags, 0);
    EXPECT_TRUE(md3.header.tags.empty());
}

// Stops after `stopAt` reports, keeping what it was told.
struct StopAfter : TProgress {
    int stopAt;
    std::vector<std::uint64_t> done;
    explicit StopAfter(int n) : stopAt(n) {}
    bool Report(std::uint64_t d, std::uint64_t total) override {
        EXPECT_EQ(total, 4u);
        done.push_back(d);
        return static_cast<int>(done.size()) < stopAt;
    }
};

TEST(SkeletalExport, ProgressCountsFramesAndCancellingLeavesTheModelAsItWas) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.tags = 1, .frames = 6});
    TMD3 md3;
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 5, 5, md3).baked);
    const std::vector<TMD3Frame> before = md3.header.frames;
    // The shared-bones bake spreads frames over threads, so only its first report (the start)
    // is certain; the per-surface bake reports every frame in turn.
    for (const auto& [stopAt, pose] :
         {std::pair{1, TBakePose::SharedBones}, std::pair{3, TBakePose::PerSurface}}) {
        StopAfter progress(stopAt);
        const TBakeResult result = BakeFramesToMD3(mesh, anim, 2, 5, md3, pose, &progress);
        EXPECT_TRUE(result.cancelled);
        EXPECT_FALSE(result.baked);
        ASSERT_EQ(md3.header.numFrames, 1);
        EXPECT_EQ(std::memcmp(&md3.header.frames[0], &before[0], sizeof(TMD3Frame)), 0);
    }
    StopAfter all(100);
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 2, 5, md3, TBakePose::PerSurface, &all).baked);
    EXPECT_EQ(all.done, (std::vector<std::uint64_t>{0, 1, 2, 3, 4}));
    // Frames baked on several threads finish in any order: the count only grows, and the end
    // is reported once.
    StopAfter shared(100);
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 2, 5, md3, TBakePose::SharedBones, &shared).baked);
    ASSERT_GE(shared.done.size(), 2u);
    EXPECT_EQ(shared.done.front(), 0u);
    EXPECT_TRUE(std::is_sorted(shared.done.begin(), shared.done.end()));
    EXPECT_EQ(std::count(shared.done.begin(), shared.done.end(), 4u), 1);
    EXPECT_EQ(shared.done.back(), 4u);
    EXPECT_EQ(md3.header.numFrames, 4);
}

TEST(SkeletalExport, CoordinatesRoundTiesToEvenAndClampWithACount) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 1, .vertsPerSurface = 4, .tags = 0, .frames = 1, .bones = 1});
    anim.frames[0].boneFrames[0] = {};
    const float xs[] = {64.5f / 64, 65.5f / 64, 600.0f, -600.0f};
    for (int v = 0; v < 4; ++v)
        SetWeights(mesh.surfaces[0].vertices[v], {{0, 1.0f, {xs[v], 0, 0}}});
    TMD3 md3;
    const TBakeResult result = BakeFramesToMD3(mesh, anim, 0, 0, md3);
    ASSERT_TRUE(result.baked);
    const auto& v = md3.header.surfaces[0].vertices;
    EXPECT_EQ(v[0].x, 64);
    EXPECT_EQ(v[1].x, 66);
    EXPECT_EQ(v[2].x, 32767);
    EXPECT_EQ(v[3].x, -32768);
    EXPECT_EQ(result.clamped, 2);
    // The radius reaches the farthest stored vertex, not the clamped-away one.
    EXPECT_NEAR(md3.header.frames[0].radius, 512.5f, 1e-3f);
}

TEST(SkeletalExport, RangesAndPairsThatCannotBeBakedLeaveTheModelAlone) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.frames = 4});
    TMD3 md3;
    EXPECT_EQ(BakeFramesToMD3(mesh, anim, 3, 2, md3).error, "the frame range 3 to 2 is empty");
    EXPECT_EQ(BakeFramesToMD3(mesh, anim, 0, 4, md3).error,
              "frame 4 is outside the animation's 4 frames");
    mesh.tags[0].boneIndex = 9;
    EXPECT_NE(BakeFramesToMD3(mesh, anim, 0, 1, md3).error.find("bone index 9"), std::string::npos);
    EXPECT_TRUE(md3.IsEmpty());
}

TEST(SkeletalExport, TheCommandAsksBakesAndSaves) {
    ScratchDir dir;
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.frames = 10});
    TMD3 md3;
    using Result = TExportOutcome::Result;

    ScriptedPrompts prompts;
    EXPECT_EQ(ExportFramesRangeToMD3(mesh, anim, 4, 3, md3, prompts).result, Result::Nothing);
    EXPECT_TRUE(prompts.questions.empty());

    prompts.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(ExportFramesRangeToMD3(mesh, anim, 0, 9, md3, prompts).result, Result::Declined);
    EXPECT_EQ(prompts.captions.back(), "Confirmation");
    EXPECT_EQ(prompts.questions.back(),
              "Are You sure You want to export the selected frames-range to MD3?.. Frames:0 to 9");
    EXPECT_TRUE(md3.IsEmpty());

    EXPECT_EQ(ExportFramesRangeToMD3(mesh, anim, 2, 4, md3, prompts).result, Result::Unsaved);
    EXPECT_TRUE(md3.IsEmpty()) << "a cancelled file dialog bakes nothing";
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    EXPECT_EQ(prompts.fileChoices[0].title, "Save a model");
    EXPECT_EQ(prompts.fileChoices[0].filter, "Quake 3 model (.MD3)|*.MD3");
    EXPECT_EQ(prompts.fileChoices[0].defaultExtension, ".MD3");

    prompts.files = {dir.File("baked.md3")};
    const TExportOutcome saved = ExportFramesRangeToMD3(mesh, anim, 1, 1, md3, prompts);
    ASSERT_EQ(saved.result, Result::Saved) << saved.error;
    EXPECT_EQ(saved.status, "Frames:1 to 1 exported to file: " + dir.File("baked.md3"));
    TMD3 reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.File("baked.md3"))) << reread.LastError();
    EXPECT_EQ(reread.header.numFrames, 1);
    EXPECT_EQ(reread.header.numSurfaces, 2);
}

}  // namespace
