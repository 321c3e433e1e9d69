// MDS files: the reader refuses broken files cleanly, and the conversion to MDM/MDX keeps
// the skeleton, the weights and the mesh so that a converted model bakes exactly as the pair
// it was assembled from; tag bones become tags, and whatever names a tag bone is mended.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstring>

#include "io/user_prompts.h"
#include "md3/md3.h"
#include "mds_writer.h"
#include "skeletal/mds_convert.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"
#include "support/byte_patch.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

struct Pair {
    TMDM mesh;
    TMDX anim;
};

Pair LoadPair(const char* mesh, const char* anim) {
    Pair p;
    AnswerYesPrompts yes;
    EXPECT_TRUE(p.mesh.LoadFromFile((SampleDir("mdm") / mesh).string(), yes));
    EXPECT_TRUE(p.anim.LoadFromFile((SampleDir("mdx") / anim).string()));
    return p;
}

void ExpectSameSurfaces(const TMD3& a, const TMD3& b) {
    ASSERT_EQ(a.header.surfaces.size(), b.header.surfaces.size());
    ASSERT_EQ(a.header.frames.size(), b.header.frames.size());
    for (std::size_t f = 0; f < a.header.frames.size(); ++f) {
        EXPECT_EQ(std::memcmp(&a.header.frames[f], &b.header.frames[f], sizeof(TMD3Frame)), 0);
    }
    for (std::size_t s = 0; s < a.header.surfaces.size(); ++s) {
        const TSurface& x = a.header.surfaces[s];
        const TSurface& y = b.header.surfaces[s];
        ASSERT_EQ(x.vertices.size(), y.vertices.size());
        EXPECT_EQ(std::memcmp(x.vertices.data(), y.vertices.data(),
                              x.vertices.size() * sizeof(TMD3Vertex)),
                  0)
            << "surface " << s;
        ASSERT_EQ(x.triangles.size(), y.triangles.size());
        EXPECT_EQ(std::memcmp(x.triangles.data(), y.triangles.data(),
                              x.triangles.size() * sizeof(TMD3Triangle)),
                  0);
    }
}

TEST(MDS, AssembledFromAPairConvertsBackToIt) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    for (const char* animName : {"mortar.mdx", "body.mdx"}) {
        SCOPED_TRACE(animName);
        Pair pair = LoadPair("allied_engineer_body.mdm", animName);
        pair.mesh.header.lodScale = 0.75f;
        pair.mesh.header.lodBias = 0.25f;
        ScratchDir dir;
        ASSERT_TRUE(WriteMDS(AssembleMDS(pair.mesh, pair.anim, 3), dir.File("model.mds")));
        TMDS mds;
        ASSERT_TRUE(mds.LoadFromFile(dir.File("model.mds"))) << mds.LastError();
        ASSERT_EQ(mds.bones.size(), 56u);  // 53 kept, 3 flagged

        TMDM mesh;
        TMDX anim;
        const TMDSConversion result = ConvertMDS(mds, mesh, anim);
        EXPECT_TRUE(result.notes.empty());
        EXPECT_EQ(result.frame, pair.anim.frames.size() > 3813 ? 3812u : 0u);
        EXPECT_EQ(anim.header.numBones, 53u);
        EXPECT_EQ(mesh.header.numTags, 3u);
        // Both files store the scale at byte 72 and the bias at 76, as the game reads them.
        ASSERT_TRUE(mesh.SaveToFile(dir.File("model.mdm")));
        for (const char* file : {"model.mds", "model.mdm"}) {
            const auto bytes = ReadBytes(dir.File(file));
            EXPECT_EQ(testing_support::GetI32(bytes, 72), std::bit_cast<std::int32_t>(0.75f));
            EXPECT_EQ(testing_support::GetI32(bytes, 76), std::bit_cast<std::int32_t>(0.25f));
        }
        EXPECT_EQ(mesh.CountMismatch(), "");
        EXPECT_EQ(anim.CountMismatch(), "");
        EXPECT_EQ(SkeletalPairProblem(mesh, anim), "");
        EXPECT_EQ(mesh.surfaces[0].vertices[7].weights[0].boneIndex,
                  pair.mesh.surfaces[0].vertices[7].weights[0].boneIndex);
        for (std::size_t t = 0; t < 3; ++t) {
            EXPECT_STREQ(mesh.tags[t].name, pair.mesh.tags[t].name);
            EXPECT_EQ(mesh.tags[t].boneIndex, pair.mesh.tags[t].boneIndex);
            EXPECT_NEAR(VectorLength(mesh.tags[t].offset), VectorLength(pair.mesh.tags[t].offset),
                        1e-3f);
        }

        TMD3 fromPair, fromMds;
        ASSERT_TRUE(BakeFramesToMD3(pair.mesh, pair.anim, 0, 20, fromPair).baked);
        ASSERT_TRUE(BakeFramesToMD3(mesh, anim, 0, 20, fromMds).baked);
        ExpectSameSurfaces(fromPair, fromMds);
    }
}

TEST(MDS, WhateverNamesATagBoneIsMended) {
    TMDM squareMesh;
    TMDX squareAnim;
    testing_support::MakeSquarePair(squareMesh, squareAnim, {.bones = 4, .tags = 2});
    TMDS mds = AssembleMDS(squareMesh, squareAnim, 1);  // bones 0-3 kept, 4 flagged
    // Bone 2 flagged too, so bone 3 hangs on a tag bone; a weight and a reference name it.
    mds.bones[2].flags = 1;
    mds.surfaces[0].vertices[1].weights[0].boneIndex = 2;
    mds.surfaces[0].boneReferences = {0, 2, 1, 99};
    mds.tags.push_back(mds.tags[0]);
    mds.tags.push_back(mds.tags[0]);  // three tags for two tag bones
    mds.tags[1].boneIndex = 3;        // a kept bone standing in for a tag
    mds.bones[1].parent = 3;          // a later bone: the pose needs parents first

    TMDM mesh;
    TMDX anim;
    const TMDSConversion result = ConvertMDS(mds, mesh, anim);
    EXPECT_EQ(result.boneMap, (std::vector<std::int32_t>{0, 1, -1, 2, -1}));
    EXPECT_EQ(anim.bones[1].parent, -1);  // its parent came after it
    EXPECT_EQ(anim.bones[2].parent, -1);  // its parent was a tag bone
    EXPECT_EQ(BoneOrderProblem(anim.bones), "");
    EXPECT_EQ(mesh.surfaces[0].vertices[1].weights[0].boneIndex, 1);
    EXPECT_EQ(mesh.surfaces[0].boneReferences, (std::vector<TMDMSurfaceBoneRefs>{0, 1}));
    ASSERT_EQ(mesh.tags.size(), 2u);
    EXPECT_EQ(mesh.tags[0].boneIndex, 0);
    EXPECT_EQ(mesh.tags[0].boneReferences, (std::vector<TMDMSurfaceBoneRefs>{0}));
    EXPECT_EQ(mesh.tags[1].boneIndex, 1);  // bone 3's parent, the flagged 2, hangs on 1
    EXPECT_EQ(mesh.tags[1].boneReferences,
              (std::vector<TMDMSurfaceBoneRefs>{1}));  // bone 1 became a root
    EXPECT_EQ(mesh.CountMismatch(), "");
    EXPECT_EQ(SkeletalPairProblem(mesh, anim), "");
    EXPECT_GE(result.notes.size(), 4u);
}

TEST(MDS, BrokenFilesAreRefusedCleanly) {
    TMDM squareMesh;
    TMDX squareAnim;
    testing_support::MakeSquarePair(squareMesh, squareAnim);
    ScratchDir dir;
    ASSERT_TRUE(WriteMDS(AssembleMDS(squareMesh, squareAnim, 1), dir.File("good.mds")));
    const std::vector<std::uint8_t> good = ReadBytes(dir.File("good.mds"));
    TMDS mds;
    ASSERT_TRUE(mds.LoadFromFile(dir.File("good.mds"))) << mds.LastError();
    EXPECT_TRUE(mds.IsValid());
    for (std::size_t size = 0; size < good.size(); ++size) {
        WriteBytes(dir.File("cut.mds"), {good.begin(), good.begin() + static_cast<long>(size)});
        EXPECT_FALSE(mds.LoadFromFile(dir.File("cut.mds"))) << size;
        EXPECT_FALSE(mds.IsValid());
    }
    // Magic, every count and a vertex index.
    const std::size_t surface = static_cast<std::size_t>(testing_support::GetI32(good, 104));
    const struct {
        std::size_t offset;
        std::int32_t value;
    } patches[] = {{0, 0},    {80, INT_MAX},  {84, INT_MAX},       {84, -1},
                   {100, -1}, {108, INT_MAX}, {surface + 144, -2}, {surface + 152, INT_MAX}};
    for (const auto& p : patches) {
        std::vector<std::uint8_t> bytes = good;
        testing_support::PutI32(bytes, p.offset, p.value);
        WriteBytes(dir.File("bad.mds"), bytes);
        EXPECT_FALSE(mds.LoadFromFile(dir.File("bad.mds"))) << p.offset;
    }
}

}  // namespace
