// MDM reading and writing: round trips, the limit questions, the partial tag load, and files
// that must be refused cleanly.
#include <gtest/gtest.h>

#include <climits>

#include "io/file_error.h"
#include "skeletal/mdm.h"
#include "skeletal_test_util.h"
#include "support/test_files.h"

namespace {

using namespace skeletal_test;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

Bytes Saved(TMDM& mesh, const ScratchDir& dir) {
    EXPECT_TRUE(mesh.SaveToFile(dir.File("saved.mdm"))) << mesh.LastError();
    return ReadBytes(dir.File("saved.mdm"));
}

Bytes ValidFile(const ScratchDir& dir, const PairShape& shape = {}) {
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, shape);
    return Saved(mesh, dir);
}

// Loads `bytes`, answering every question Yes; the reason for failure, "" on success.
std::string LoadFailure(const ScratchDir& dir, const Bytes& bytes) {
    WriteBytes(dir.File("hostile.mdm"), bytes);
    TMDM mesh;
    ScriptedPrompts yes;
    if (mesh.LoadFromFile(dir.File("hostile.mdm"), yes)) return "";
    EXPECT_FALSE(mesh.LastError().empty());
    EXPECT_EQ(mesh.header.numSurfaces, 0u);
    EXPECT_TRUE(mesh.surfaces.empty());
    return mesh.LastError();
}

TEST(MDM, WritesTheCanonicalLayoutAndReadsItBack) {
    ScratchDir dir;
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 2, .vertsPerSurface = 7, .tags = 3});
    const Bytes file = Saved(mesh, dir);
    EXPECT_EQ(GetI32(file, kMdmOfsSurfaces), 100);
    EXPECT_EQ(GetI32(file, 96), static_cast<std::int32_t>(file.size()));
    EXPECT_EQ(static_cast<std::int64_t>(file.size()),
              100 + mesh.SurfaceSize(0) + mesh.SurfaceSize(1) + mesh.TagsSize());
    // The second surface points back at the start of the file.
    const std::size_t second = 100 + static_cast<std::size_t>(mesh.SurfaceSize(0));
    EXPECT_EQ(GetI32(file, second + 140), -static_cast<std::int32_t>(second));

    TMDM loaded;
    ScriptedPrompts prompts;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("saved.mdm"), prompts)) << loaded.LastError();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(Saved(loaded, dir), file);
    EXPECT_EQ(loaded.lod[1].vertexCount, 7);
    EXPECT_EQ(loaded.lod[1].lodMinimum, 7);
    loaded.LodTableFromMinLod();
    EXPECT_EQ(loaded.lod[1].lodMinimum, 3);
    EXPECT_TRUE(loaded.HasLodData());
    EXPECT_EQ(loaded.surfaces[1].vertices[3].weights[1].offset, (TVector3{-1.0f, 0.5f, 2.0f}));
}

TEST(MDM, EmptySectionsWriteNothing) {
    ScratchDir dir;
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 1, .vertsPerSurface = 3, .tags = 0});
    mesh.surfaces[0].boneReferences.clear();
    mesh.surfaces[0].numBoneReferences = 0;
    const Bytes file = Saved(mesh, dir);
    EXPECT_EQ(GetI32(file, kMdmOfsTags), static_cast<std::int32_t>(file.size()));
    EXPECT_EQ(GetI32(file, 100 + kSurfOfsBoneRefs), GetI32(file, 100 + kSurfOfsEnd));
}

TEST(MDM, LimitQuestionsAndTheirAnswers) {
    ScratchDir dir;
    const Bytes file = ValidFile(dir, {.surfaces = 33, .vertsPerSurface = 3, .tags = 1});
    WriteBytes(dir.File("many.mdm"), file);
    TMDM mesh;
    ScriptedPrompts no;
    no.answers = {PromptAnswer::No};
    EXPECT_FALSE(mesh.LoadFromFile(dir.File("many.mdm"), no));
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0], "MAX_SURFACES limit exceeded: 33 > 32\r\nContinue loading?..");
    EXPECT_EQ(mesh.header.numSurfaces, 0u);
    EXPECT_TRUE(mesh.surfaces.empty());

    ScriptedPrompts yes;
    ASSERT_TRUE(mesh.LoadFromFile(dir.File("many.mdm"), yes)) << mesh.LastError();
    EXPECT_EQ(mesh.surfaces.size(), 33u);
    EXPECT_EQ(mesh.lod[31].vertexCount, 3);

    // At the limits nothing is asked.
    WriteBytes(dir.File("limit.mdm"), ValidFile(dir, {.surfaces = 32, .vertsPerSurface = 3}));
    ScriptedPrompts none;
    EXPECT_TRUE(mesh.LoadFromFile(dir.File("limit.mdm"), none));
    EXPECT_TRUE(none.questions.empty());
}

TEST(MDM, TagsFromAnotherFileReplaceTagsAndTheirCount) {
    ScratchDir dir;
    WriteBytes(dir.File("five.mdm"), ValidFile(dir, {.surfaces = 1, .tags = 5}));
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim, {.surfaces = 2, .tags = 2});
    ScriptedPrompts prompts;
    ASSERT_TRUE(mesh.LoadTagsFromFile(dir.File("five.mdm"), prompts)) << mesh.LastError();
    EXPECT_EQ(mesh.header.numTags, 5u);
    EXPECT_EQ(mesh.tags.size(), 5u);
    EXPECT_EQ(mesh.surfaces.size(), 2u);
    EXPECT_EQ(mesh.CountMismatch(), "");

    // Without a mesh there is nothing to attach tags to.
    TMDM empty;
    EXPECT_FALSE(empty.LoadTagsFromFile(dir.File("five.mdm"), prompts));
    EXPECT_TRUE(empty.tags.empty());

    // A file that is no MDM changes nothing.
    WriteBytes(dir.File("junk.mdm"), Bytes(300, 7));
    EXPECT_FALSE(mesh.LoadTagsFromFile(dir.File("junk.mdm"), prompts));
    EXPECT_EQ(mesh.tags.size(), 5u);
}

TEST(MDM, ModelsWhoseCountsDisagreeAreNotWritten) {
    ScratchDir dir;
    TMDM mesh;
    TMDX anim;
    MakePair(mesh, anim);
    mesh.surfaces[1].vertices[2].numWeights = 5;
    EXPECT_FALSE(mesh.SaveToFile(dir.File("bad.mdm")));
    EXPECT_NE(mesh.LastError().find("weight count"), std::string::npos);
    mesh.surfaces[1].vertices[2].numWeights = 1;
    mesh.surfaces[1].vertices[2].weights.resize(1);
    mesh.header.numTags = 9;
    EXPECT_FALSE(mesh.SaveToFile(dir.File("bad.mdm")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.mdm")));
}

TEST(MDMHostile, EveryTruncationFails) {
    ScratchDir dir;
    const Bytes full = ValidFile(dir, {.surfaces = 2, .vertsPerSurface = 4, .tags = 2});
    ASSERT_EQ(LoadFailure(dir, full), "");
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_NE(LoadFailure(dir, prefix), "") << "prefix of " << n << " bytes loaded";
    }
}

TEST(MDMHostile, CountsAndOffsetsAtTheExtremes) {
    ScratchDir dir;
    const Bytes valid = ValidFile(dir);
    // Counts may not be negative or larger than the file; offsets may point anywhere inside
    // the file, but no further.
    struct Field {
        std::size_t at;
        bool isCount;
    };
    const Field fields[] = {{kMdmNumSurfaces, true},
                            {kMdmOfsSurfaces, false},
                            {kMdmNumTags, true},
                            {kMdmOfsTags, false},
                            {100 + kSurfNumVerts, true},
                            {100 + kSurfOfsVerts, false},
                            {100 + kSurfNumTriangles, true},
                            {100 + kSurfOfsTriangles, false},
                            {100 + kSurfOfsCollapse, false},
                            {100 + kSurfNumBoneRefs, true},
                            {100 + kSurfOfsBoneRefs, false},
                            // the first vertex's weight count
                            {100 + 176 + 20, true}};
    for (const Field& field : fields) {
        for (std::int32_t value :
             field.isCount ? std::vector<std::int32_t>{INT_MAX, INT_MIN, -1, 1 << 24}
                           : std::vector<std::int32_t>{INT_MAX, INT_MIN, -(1 << 20), 1 << 26}) {
            Bytes b = valid;
            PutI32(b, field.at, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "field at " << field.at << " = " << value;
        }
    }
}

TEST(MDMHostile, SurfacesSharingTheSameBytesAreRefused) {
    ScratchDir dir;
    Bytes b = ValidFile(dir, {.surfaces = 1, .vertsPerSurface = 40, .tags = 0});
    PutI32(b, 100 + kSurfOfsEnd, 0);
    PutI32(b, kMdmNumSurfaces, static_cast<std::int32_t>((b.size() - 100) / 176));
    EXPECT_NE(LoadFailure(dir, b).find("over data already read"), std::string::npos);
}

TEST(MDMHostile, IndexesOutsideTheirArrays) {
    ScratchDir dir;
    struct Case {
        const char* what;
        void (*spoil)(TMDM&);
        const char* reason;
    };
    const Case cases[] = {
        {"triangle", [](TMDM& m) { m.surfaces[0].triangles[1].indexes[2] = 6; },
         "refers to vertex 6 of 6"},
        {"negative triangle", [](TMDM& m) { m.surfaces[1].triangles[0].indexes[0] = -1; },
         "refers to vertex -1"},
        {"collapse map", [](TMDM& m) { m.surfaces[0].collapseMap[3] = 60; },
         "collapse map entry that refers to vertex 60"},
        {"weight bone", [](TMDM& m) { m.surfaces[1].vertices[4].weights[0].boneIndex = -3; },
         "weight on bone -3"},
        {"tag bone", [](TMDM& m) { m.tags[1].boneIndex = -1; }, "attached to bone -1"},
    };
    for (const Case& c : cases) {
        TMDM mesh;
        TMDX anim;
        MakePair(mesh, anim);
        c.spoil(mesh);
        EXPECT_NE(LoadFailure(dir, Saved(mesh, dir)).find(c.reason), std::string::npos) << c.what;
    }
}

TEST(MDMHostile, MissingFileRaisesTheOpenError) {
    ScratchDir dir;
    TMDM mesh;
    ScriptedPrompts prompts;
    EXPECT_THROW(mesh.LoadFromFile(dir.File("missing.mdm"), prompts), FileError);
    EXPECT_THROW(mesh.LoadTagsFromFile(dir.File("missing.mdm"), prompts), FileError);
}

}  // namespace
