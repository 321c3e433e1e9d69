#include <gtest/gtest.h>

#include "import/ms3d.h"
#include "import_test_util.h"
#include "md3/md3.h"
#include "support/test_files.h"

using testing_support::ScratchDir;
using testing_support::WriteBytes;

namespace {

// Loads and converts a file built in code.
struct Ms3dRun {
    TMS3D ms3d;
    TMD3 model;
    ScriptedAnswers prompts;
    std::string message;
    bool loaded = false;
    bool converted = false;

    void Convert(const std::vector<std::uint8_t>& bytes) {
        static ScratchDir dir;
        WriteBytes(dir.File("m.ms3d"), bytes);
        loaded = ms3d.LoadMS3D(dir.File("m.ms3d"));
        converted = loaded && ms3d.ConvertMS3DToMD3(model, prompts, message);
    }
};

Ms3dBuilder TagAndBox() {
    Ms3dBuilder b;
    b.vertices = {{0, 0, 0}, {0, 0, 4}, {2, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    b.triangles = {{0, 1, 2}, {3, 4, 5}, {3, 5, 0}};
    b.groups = {{"body", {1, 2}, 0}, {"tag_weapon", {0}}, {"plain", {1}}};
    b.textures = {"models/box.tga"};
    return b;
}

}  // namespace

TEST(MS3DImport, TagsSurfacesAndCornersFollowTheGroups) {
    Ms3dRun run;
    run.Convert(TagAndBox().Bytes());
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.message, "");
    EXPECT_TRUE(run.prompts.questions.empty());
    const THeader& h = run.model.header;
    EXPECT_EQ(NameFieldText(h.name), "K_Converted_From_MS3D");
    ASSERT_EQ(h.numTags, 1);
    ASSERT_EQ(h.numSurfaces, 2);
    const TMD3Tag& tag = h.tags[0];
    EXPECT_EQ(NameFieldText(tag.name), "tag_weapon");
    EXPECT_EQ(tag.origin, (TVector3{0, 0, 0}));
    EXPECT_EQ(tag.axis[2], (TVector3{0, 0, 1}));
    EXPECT_EQ(tag.axis[0], (TVector3{-1, 0, 0}));
    EXPECT_EQ(tag.axis[1], (TVector3{0, -1, 0}));

    const TSurface& body = h.surfaces[0];
    EXPECT_EQ(NameFieldText(body.name), "body");
    EXPECT_EQ(NameFieldText(body.shaders[0].name), "models/box.tga");
    EXPECT_EQ(NameFieldText(h.surfaces[1].shaders[0].name), "");
    EXPECT_EQ(body.numVerts, 6);
    EXPECT_EQ(body.numTriangles, 2);
    EXPECT_EQ(body.triangles[1].indexes[0], 5);  // wound the other way round
    EXPECT_EQ(body.triangles[1].indexes[2], 3);
    EXPECT_EQ(body.vertices[4].y, 640);
    EXPECT_FLOAT_EQ(body.texCoords[2].s, 0.5f);
    // MilkShape's t runs down the image as MD3's does: the file gets it unchanged.
    EXPECT_FLOAT_EQ(1.0f - body.texCoords[2].t, 0.875f);
    // The tag's triangle is not part of the extent.
    EXPECT_EQ(h.frames[0].maxBounds, (TVector3{10, 10, 0}));
    EXPECT_EQ(std::string(h.frames[0].name, 16), std::string("K MS3D Convert\0 ", 16));

    ScratchDir dir;
    ASSERT_TRUE(run.model.SaveToFile(dir.File("out.md3")));
    TMD3 back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("out.md3")));
    EXPECT_EQ(back.header.surfaces[0].vertices[4].y, 640);
    EXPECT_EQ(back.header.tags[0].axis[1], (TVector3{0, -1, 0}));
}

TEST(MS3DImport, TagWithoutRightAngleKeepsOnlyItsName) {
    Ms3dBuilder b;
    b.vertices = {{0, 0, 0}, {1, 0, 1}, {2, 0, 0.2f}};
    b.triangles = {{0, 1, 2}};
    b.groups = {{"tag_head", {0}}};
    Ms3dRun run;
    run.Convert(b.Bytes());
    ASSERT_TRUE(run.converted);
    const TMD3Tag& tag = run.model.header.tags[0];
    EXPECT_EQ(NameFieldText(tag.name), "tag_head");
    EXPECT_EQ(tag.origin, kVectorZero);
    EXPECT_EQ(tag.axis[0], kVectorZero);
    EXPECT_EQ(run.model.header.frames[0].radius, 0.0f);  // no surface: zero bounds
}

TEST(MS3DImport, OutOfRangeModelsAreScaledOnlyWhenTheUserAgrees) {
    struct Case {
        float largest;
        std::deque<PromptAnswer> answers;
        bool asked;
        bool converted;
        const char* message;
    };
    const Case cases[] = {
        {1022.0f, {PromptAnswer::Yes}, true, true, kMS3DScaledText},
        {1022.0f, {PromptAnswer::No}, true, false, kMS3DOutOfBoundsText},
        {512.0f, {PromptAnswer::Cancel}, true, false, kMS3DOutOfBoundsText},
        {511.9f, {}, false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.largest);
        Ms3dBuilder b;
        b.vertices = {{c.largest, 0, -10}, {0, 1, 0}, {0, 0, 1}};
        b.triangles = {{0, 1, 2}};
        b.groups = {{"g", {0}}};
        Ms3dRun run;
        run.prompts.answers = c.answers;
        run.Convert(b.Bytes());
        EXPECT_EQ(run.converted, c.converted);
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(run.prompts.questions.size(), c.asked ? 1u : 0u);
        if (!c.converted) {
            EXPECT_TRUE(run.model.IsEmpty());
        }
    }
    Ms3dBuilder b;
    b.vertices = {{1022, 0, -10}, {0, 1, 0}, {0, 0, 1}};
    b.triangles = {{0, 1, 2}};
    b.groups = {{"g", {0}}};
    Ms3dRun run;
    run.prompts.answers = {PromptAnswer::Yes};
    run.Convert(b.Bytes());
    const TMD3Vertex& v = run.model.header.surfaces[0].vertices[0];
    EXPECT_EQ(v.x, 32704);
    EXPECT_EQ(v.z, -320);
}

TEST(MS3DImport, RefusesJointsAndForeignFiles) {
    Ms3dBuilder b = TagAndBox();
    b.joints = 1;
    Ms3dRun run;
    run.Convert(b.Bytes());
    EXPECT_TRUE(run.loaded);
    EXPECT_FALSE(run.converted);
    EXPECT_TRUE(run.model.IsEmpty());

    std::vector<std::uint8_t> bytes = TagAndBox().Bytes();
    bytes[3] = 'X';
    Ms3dRun foreign;
    foreign.Convert(bytes);
    EXPECT_FALSE(foreign.loaded);
}

TEST(MS3DImport, IndicesPastTheirArraysAreSkippedAndCounted) {
    Ms3dBuilder b = TagAndBox();
    b.triangles.push_back({0, 1, 99});
    b.groups = {{"body", {1, 3, 7, 2}, 5}};
    Ms3dRun run;
    run.Convert(b.Bytes());
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.model.header.surfaces[0].numTriangles, 2);
    EXPECT_EQ(NameFieldText(run.model.header.surfaces[0].shaders[0].name), "");
    EXPECT_EQ(run.ms3d.SkippedText(),
              "1 triangle with a vertex index past the vertex count skipped, 1 group triangle "
              "index past the triangle count skipped, 1 material index past the material "
              "count ignored");
}

TEST(MS3DImport, EveryPrefixOfAFileLoadsOrFailsCleanly) {
    const std::vector<std::uint8_t> bytes = TagAndBox().Bytes();
    // Byte by byte through the small blocks, then in strides through the material records.
    for (std::size_t n = 0; n < bytes.size(); n += n < 400 ? 1 : 7) {
        Ms3dRun run;
        run.Convert(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + n));
        EXPECT_EQ(run.loaded, n >= kMS3DHeaderSize) << n;
        if (run.loaded) {
            EXPECT_TRUE(run.converted) << n;
        }
    }
}

// Counts are 16-bit, so a few bytes could claim 65,535 groups or materials; only what the
// file really holds becomes part of the model.
TEST(MS3DImport, CountsPastTheEndOfTheFileAddNothing) {
    Ms3dBuilder one;
    one.groups = {{"only", {}}};
    std::vector<std::uint8_t> bytes = one.Bytes();
    constexpr std::size_t kGroupCount = kMS3DHeaderSize + 4;  // after two empty counts
    bytes[kGroupCount] = bytes[kGroupCount + 1] = 0xFF;
    bytes.resize(kGroupCount + 2 + sizeof(TMS3DGroupHead) + 1);
    Ms3dRun run;
    run.Convert(bytes);
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.model.header.numSurfaces, 1);

    // Joints the file names but does not hold still make it a model with joints.
    Ms3dBuilder jointed = TagAndBox();
    jointed.joints = 2;
    bytes = jointed.Bytes();
    bytes.resize(bytes.size() - 2 * sizeof(TMS3DJointHead));
    Ms3dRun refused;
    refused.Convert(bytes);
    EXPECT_TRUE(refused.loaded);
    EXPECT_FALSE(refused.converted);
}

TEST(MS3DImport, SamplesConvertWithTheIndependentTriangleCounts) {
    VELDRA_REQUIRE_SAMPLES("ms3d");
    // Triangle counts as assimp reads them; -1 for models with joints.
    const std::pair<const char*, int> expected[] = {
        {"Wuson.ms3d", 3732},     {"animated_cylinder.ms3d", -1},    {"cross.ms3d", -1},
        {"twospheres.ms3d", 240}, {"twospheres_withmats.ms3d", 240}, {"zombie02.ms3d", -1},
    };
    for (const auto& [name, triangles] : expected) {
        SCOPED_TRACE(name);
        TMS3D ms3d;
        TMD3 model;
        ScriptedAnswers prompts;
        std::string message;
        ASSERT_TRUE(ms3d.LoadMS3D((testing_support::SampleDir("ms3d") / name).string()));
        const bool converted = ms3d.ConvertMS3DToMD3(model, prompts, message);
        ASSERT_EQ(converted, triangles >= 0);
        if (!converted) continue;
        int total = 0;
        for (const TSurface& s : model.header.surfaces)
            total += s.numTriangles;
        EXPECT_EQ(total, triangles);
        EXPECT_EQ(ms3d.SkippedText(), "");
    }
}
