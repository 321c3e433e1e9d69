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
    EXPECT_EQ(NameFieldText(body.shaders[0].name), "models/box");
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

TEST(MS3DImport, JointsAreLeftOutWithANoteAndForeignFilesRefused) {
    Ms3dBuilder b = TagAndBox();
    b.joints = 1;
    Ms3dRun run;
    run.Convert(b.Bytes());
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.model.header.numSurfaces, 2);
    EXPECT_EQ(run.ms3d.SkippedText(),
              "1 joint ignored: the mesh is converted in its bind pose, without animation");

    std::vector<std::uint8_t> bytes = TagAndBox().Bytes();
    bytes[3] = 'X';
    Ms3dRun foreign;
    foreign.Convert(bytes);
    EXPECT_FALSE(foreign.loaded);
}

TEST(MS3DImport, SettingsScaleStandUpAndPlaceShaders) {
    Ms3dBuilder b = TagAndBox();
    b.textures = {".\\box.jpg"};
    Ms3dRun run;
    run.ms3d.settings = {2.0f, true, "models/crate"};
    run.Convert(b.Bytes());
    ASSERT_TRUE(run.converted);
    const TSurface& body = run.model.header.surfaces[0];
    EXPECT_EQ(NameFieldText(body.shaders[0].name), "models/crate/box");
    // MilkShape's (0, 10, 0) with Y up is the game's (0, 0, 10), then doubled.
    EXPECT_EQ(body.vertices[4].x, 0);
    EXPECT_EQ(body.vertices[4].y, 0);
    EXPECT_EQ(body.vertices[4].z, 20 * 64);
    // The tag turns with the model: its long leg ran along MilkShape's Z.
    EXPECT_EQ(run.model.header.tags[0].axis[2], (TVector3{0, -1, 0}));
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
        // What converts is whole; what does not says why.
        if (run.loaded && !run.converted) {
            EXPECT_TRUE(run.message.starts_with("no triangles to convert")) << n;
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
    EXPECT_FALSE(run.converted);
    EXPECT_EQ(run.message, "no triangles to convert (the file is cut short)");

    // Joints the file names but does not hold: the mesh converts, and the cut is reported.
    Ms3dBuilder jointed = TagAndBox();
    jointed.joints = 2;
    bytes = jointed.Bytes();
    bytes.resize(bytes.size() - 2 * sizeof(TMS3DJointHead));
    Ms3dRun cut;
    cut.Convert(bytes);
    ASSERT_TRUE(cut.converted);
    EXPECT_EQ(cut.ms3d.SkippedText(),
              "the file is cut short, 2 joints ignored: the mesh is converted in its bind pose, "
              "without animation");
}

TEST(MS3DImport, SamplesConvertWithTheIndependentTriangleCounts) {
    VELDRA_REQUIRE_SAMPLES("ms3d");
    // Triangle counts as assimp reads them; models with joints convert in their bind pose.
    const std::pair<const char*, int> expected[] = {
        {"Wuson.ms3d", 3732},     {"animated_cylinder.ms3d", 168},   {"cross.ms3d", 76},
        {"twospheres.ms3d", 240}, {"twospheres_withmats.ms3d", 240}, {"zombie02.ms3d", 735},
    };
    for (const auto& [name, triangles] : expected) {
        SCOPED_TRACE(name);
        TMS3D ms3d;
        TMD3 model;
        ScriptedAnswers prompts;
        prompts.answers = {PromptAnswer::Yes};  // to the split question
        std::string message;
        ASSERT_TRUE(ms3d.LoadMS3D((testing_support::SampleDir("ms3d") / name).string()));
        const bool converted = ms3d.ConvertMS3DToMD3(model, prompts, message);
        ASSERT_EQ(converted, triangles >= 0);
        if (!converted) continue;
        int total = 0;
        for (const TSurface& s : model.header.surfaces) {
            EXPECT_LE(s.numVerts, kMD3MaxVerts);
            total += s.numTriangles;
        }
        // Wuson is 1.6 units tall: 134 of its triangles fall onto a line at the 1/64 grid.
        const int collapsed = std::string(name) == "Wuson.ms3d" ? 134 : 0;
        EXPECT_EQ(total + collapsed, triangles);
        if (collapsed > 0) {
            EXPECT_EQ(ms3d.SkippedText(),
                      "134 triangles too small for the 1/64-unit grid of stored positions left "
                      "out");
        } else if (ms3d.numJoints == 0) {
            EXPECT_EQ(ms3d.SkippedText(), "");
        }
    }
}

TEST(MS3DImport, GroupsPastTheLimitsAreSplitWhenTheUserAgrees) {
    Ms3dBuilder b;
    b.vertices = {{0, 0, 0}, {8, 0, 0}, {0, 8, 0}, {1, 1, 1}, {1, 1, 1}};
    // 342 triangles make 1026 vertices; the last two name one point twice and draw nothing.
    b.triangles.assign(342, {0, 1, 2});
    b.triangles.push_back({0, 3, 4});
    b.groups = {{"body", {}}};
    for (std::uint16_t i = 0; i < 343; ++i)
        b.groups[0].triangles.push_back(i);
    for (PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        Ms3dRun run;
        run.prompts.answers = {answer};
        run.Convert(b.Bytes());
        ASSERT_EQ(run.prompts.questions.size(), 1u);
        EXPECT_EQ(run.prompts.questions[0],
                  "MAX_VERTS limit exceeded: 1026 > 1024\r\nToo many vertices used in the same "
                  "group..\r\nGroup: body\r\n\r\nSplit it into several surfaces with the same "
                  "shader?");
        EXPECT_EQ(run.converted, answer == PromptAnswer::Yes);
        EXPECT_EQ(run.ms3d.LimitExceeded(), answer == PromptAnswer::No);
        if (!run.converted) continue;
        ASSERT_EQ(run.model.header.numSurfaces, 2);
        EXPECT_EQ(run.model.header.surfaces[0].numVerts, 1023);
        EXPECT_EQ(NameFieldText(run.model.header.surfaces[1].name), "body_2");
        EXPECT_EQ(run.ms3d.SkippedText(),
                  "1 triangle too small for the 1/64-unit grid of stored positions left out");
    }
}
