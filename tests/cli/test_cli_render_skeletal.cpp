// veldra-cli render of player meshes: posed by their animation, standing as the game's own
// models do, and refused in one line when they cannot be posed.
#include <gtest/gtest.h>

#include <filesystem>

#include "io/user_prompts.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"
#if VELDRA_CLI_HAS_RENDER
#include "support/egl_platforms.h"
#endif

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;

class CliRenderSkeletal : public ::testing::Test {
  protected:
    void SetUp() override {
#if !VELDRA_CLI_HAS_RENDER
        GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#else
        VELDRA_REQUIRE_SURFACELESS_EGL();
        // A triangle in the YZ plane, pointing up the game's Z axis, turned a little about it
        // on frame 2. Its last corner hangs on the second bone, 10 units along X.
        TMDM mesh;
        TMDX anim;
        testing_support::MakeSquarePair(mesh, anim);
        auto& vertices = mesh.surfaces[0].vertices;
        const TVector3 corners[4] = {{0, 0, 20}, {0, -10, -20}, {0, 10, -20}, {-10, 10, -20}};
        for (std::size_t i = 0; i < 4; ++i)
            vertices[i].weights[0].offset = corners[i];
        vertices[3].weights[0].boneIndex = 1;
        anim.frames[2].boneFrames[0].angles[1] = 4096;
        ASSERT_TRUE(mesh.SaveToFile(dir_.File("arrow.mdm")));
        ASSERT_TRUE(anim.SaveToFile(dir_.File("arrow.mdx")));
        testing_support::WriteBytes(dir_.File("arrow.aninc"),
                                    {'u', 'p', ' ', '2', ' ', '1', ' ', '0', ' ', '2', '0', ' ',
                                     '0', ' ', '0', ' ', '0', '\n'});
#endif
    }

    CliOutcome Render(const std::string& arguments, const std::string& out = "arrow.tga") {
        return RunCli(dir_, "render " + dir_.File("arrow.mdm") + " " + dir_.File(out) +
                                " --size 64x64 --yaw 0 --pitch 0 " + arguments);
    }

    void Write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir_.path() / name).parent_path());
        testing_support::WriteBytes(dir_.File(name), {text.begin(), text.end()});
    }

    // characters/arrow.char: the arrow as body.mdm, skin "red", its MDX in a group.
    void ArrowCharacterTree() {
        namespace fs = std::filesystem;
        fs::create_directories(dir_.path() / "models/arrow");
        fs::create_directories(dir_.path() / "animations/base");
        fs::copy_file(dir_.File("arrow.mdm"), dir_.path() / "models/arrow/body.mdm");
        fs::copy_file(dir_.File("arrow.mdx"), dir_.path() / "animations/base/arrow.mdx");
        Write("animations/arrow.anim",
              "animgroup {\n animfile \"animations/base/arrow.mdx\"\n {\n  up 2 1 0 20.5 0 0 0 0\n "
              "}\n}\n");
        Write("characters/arrow.char",
              "characterDef {\n mesh \"models/arrow/body.mdm\"\n skin \"red\"\n"
              " animationGroup \"animations/arrow.anim\"\n}\n");
    }

    // Pixels the model covers in a TGA the size of the pictures here.
    int Covered(const std::string& tga) {
        const auto t = ReadBytes(dir_.File(tga));
        int covered = 0;
        for (std::size_t i = 18 + 3; i < t.size(); i += 4)
            covered += t[i] != 0 ? 1 : 0;
        return covered;
    }

    // Covered pixels in the top and the bottom quarter of the picture's covered rows.
    std::pair<int, int> TopAndBottom(const std::string& tga) {
        const auto t = ReadBytes(dir_.File(tga));
        EXPECT_EQ(t.size(), 18u + 64u * 64u * 4u);
        std::vector<int> rows(64, 0);  // bottom row first
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                rows[y] += t[18 + (y * 64 + x) * 4 + 3] != 0 ? 1 : 0;
        int low = 0, high = 63;
        while (low < 63 && rows[low] == 0)
            ++low;
        while (high > 0 && rows[high] == 0)
            --high;
        const int quarter = (high - low + 1) / 4;
        int top = 0, bottom = 0;
        for (int i = 0; i < quarter; ++i)
            bottom += rows[low + i], top += rows[high - i];
        return {top, bottom};
    }

    ScratchDir dir_;
};

TEST_F(CliRenderSkeletal, PosedMeshStandsAsInTheGame) {
    const CliOutcome o = Render("--mdx " + dir_.File("arrow.mdx"));
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "");
    const auto [top, bottom] = TopAndBottom("arrow.tga");
    EXPECT_LT(top * 3, bottom) << "the apex belongs at the top";

    // --anim-name draws the first frame of the entry, as --frame does.
    ASSERT_EQ(Render("--mdx " + dir_.File("arrow.mdx") + " --frame 2", "frame.tga").exitCode, 0);
    ASSERT_EQ(Render("--mdx " + dir_.File("arrow.mdx") + " --anim-name up", "named.tga").exitCode,
              0);
    EXPECT_EQ(ReadBytes(dir_.File("frame.tga")), ReadBytes(dir_.File("named.tga")));
}

TEST_F(CliRenderSkeletal, LodDrawsEachSurfaceAtItsMinimum) {
    // Pixels covered when the surface is drawn at `minLod` with `map`.
    auto covered = [this](std::vector<TMDMCollapseMap> map, std::int32_t minLod) {
        AnswerYesPrompts yes;
        TMDM mesh;
        EXPECT_TRUE(mesh.LoadFromFile(dir_.File("arrow.mdm"), yes));
        mesh.surfaces[0].collapseMap = std::move(map);
        mesh.surfaces[0].minLod = minLod;
        EXPECT_TRUE(mesh.SaveToFile(dir_.File("lod.mdm")));
        const CliOutcome o =
            RunCli(dir_, "render " + dir_.File("lod.mdm") + " " + dir_.File("lod.tga") +
                             " --size 64x64 --mdx " + dir_.File("arrow.mdx") + " --lod");
        EXPECT_EQ(o.exitCode, 0) << o.err;
        const auto t = ReadBytes(dir_.File("lod.tga"));
        int n = 0;
        for (std::size_t i = 18 + 3; i < t.size(); i += 4)
            n += t[i] != 0 ? 1 : 0;
        return n;
    };
    // At three vertices the last corner falls onto the third: the apex triangle stays.
    EXPECT_GT(covered({0, 0, 1, 2}, 3), 0);
    // At two every triangle has collapsed to a line.
    EXPECT_EQ(covered({0, 0, 1, 2}, 2), 0);
}

TEST_F(CliRenderSkeletal, WhatCannotBePosedIsRefusedInOneLine) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {.bones = 1});
    ASSERT_TRUE(anim.SaveToFile(dir_.File("one.mdx")));
    const std::string mdx = " --mdx " + dir_.File("arrow.mdx");
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {"", 2, "a player mesh needs --mdx ANIM.mdx"},
        {mdx + " --frame 3", 1, "has no frame 3 (frames: 3)"},
        {mdx + " --anim-name down", 1, "it has no animation \"down\""},
        {" --mdx " + dir_.File("one.mdx"), 1,
         "with \"" + dir_.File("one.mdx") +
             "\": surface 0 (\"square\"), vertex 3: bone index 1 "
             "outside the animation's 1 bone"},
        {" --mdx " + dir_.File("none.mdx"), 1, "Cannot open file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::filesystem::remove(dir_.File("arrow.tga"));
        const CliOutcome o = Render(c.arguments);
        EXPECT_EQ(o.exitCode, c.exitCode);
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_FALSE(std::filesystem::exists(dir_.File("arrow.tga")));
    }
    // An MD3 takes no animation.
    const CliOutcome o =
        RunCli(dir_, "render " + dir_.File("x.md3") + " " + dir_.File("x.png") + mdx);
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_NE(o.err.find("--mdx and --anim-name are for .mdm player meshes"), std::string::npos);
}

// A .char without a game: what it names is found under the folders above it; what is not
// found is named.
TEST_F(CliRenderSkeletal, CharacterIsDrawnFromTheFoldersAboveIt) {
    ArrowCharacterTree();
    // A second file whose frame 0 is the first file's frame 2, and a third that is missing.
    TMDX leaning;
    ASSERT_TRUE(leaning.LoadFromFile(dir_.File("arrow.mdx")));
    leaning.frames[0] = leaning.frames[2];
    ASSERT_TRUE(leaning.SaveToFile((dir_.path() / "animations/base/lean.mdx").string()));
    Write("animations/arrow.anim",
          "animgroup {\n animfile \"animations/base/arrow.mdx\"\n {\n  up 2 1 0 20.5 0 0 0 0\n "
          "}\n animfile \"animations/base/lean.mdx\"\n {\n  lean 0 1 0 20 0 0 0 0\n }\n"
          " animfile \"animations/base/gone.mdx\"\n {\n  gone 0 1 0 20 0 0 0 0\n }\n}\n");
    Write("characters/lost.char", "characterDef { mesh \"models/none.mdm\" }");
    const std::string out = " " + dir_.File("c.tga") + " --size 64x64 --yaw 0 --pitch 0";

    const CliOutcome drawn = RunCli(dir_, "render " + dir_.File("characters/arrow.char") + out);
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_EQ(drawn.err, "veldra-cli: warning: skin \"models/arrow/body_red.skin\" not found\n");
    // Frame 2 ("up" in the group) turns the arrow: its picture differs from frame 0's.
    const auto still = ReadBytes(dir_.File("c.tga"));
    EXPECT_EQ(RunCli(dir_, "render " + dir_.File("characters/arrow.char") + out + " --anim-name up")
                  .exitCode,
              0);
    const auto up = ReadBytes(dir_.File("c.tga"));
    EXPECT_NE(up, still);
    // A name of a later file draws with that file.
    const std::string character = "render " + dir_.File("characters/arrow.char") + out;
    EXPECT_EQ(RunCli(dir_, character + " --anim-name lean").exitCode, 0);
    EXPECT_EQ(ReadBytes(dir_.File("c.tga")), up);
    const std::pair<const char*, const char*> refused[] = {
        {"nothing", "/arrow.char\": its animation group has no animation \"nothing\""},
        {"gone", "animation \"animations/base/gone.mdx\" (holding \"gone\") not found"},
    };
    for (const auto& [name, message] : refused) {
        const CliOutcome o = RunCli(dir_, character + " --anim-name " + name);
        EXPECT_EQ(o.exitCode, 1) << name;
        EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    }

    const CliOutcome lost = RunCli(dir_, "render " + dir_.File("characters/lost.char") + out);
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_NE(lost.err.find("mesh \"models/none.mdm\" not found; the definition names no "
                            "animation group"),
              std::string::npos)
        << lost.err;
}

// A definition inside a mod's archive finds what it names in that archive.
TEST_F(CliRenderSkeletal, CharacterInAnArchiveIsDrawnFromIt) {
    ArrowCharacterTree();
    const std::string out = " " + dir_.File("c.tga") + " --size 64x64 --yaw 0 --pitch 0";
    ASSERT_EQ(RunCli(dir_, "render " + dir_.File("characters/arrow.char") + out).exitCode, 0);
    const auto fromFolders = ReadBytes(dir_.File("c.tga"));
    std::vector<testing_support::ZipEntry> entries;
    for (const char* name : {"models/arrow/body.mdm", "animations/base/arrow.mdx",
                             "animations/arrow.anim", "characters/arrow.char"})
        entries.push_back({name, testing_support::FileText(dir_.File(name))});
    testing_support::WriteZip(dir_.File("arrow.pk3"), entries);
    const CliOutcome o =
        RunCli(dir_, "render " + dir_.File("arrow.pk3") + ":characters/arrow.char" + out);
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir_.File("c.tga")), fromFolders);
}

// `info` names what a character names and what of it was found.
TEST_F(CliRenderSkeletal, CharacterInfoNamesWhatWasFound) {
    ArrowCharacterTree();
    const CliOutcome o = RunCli(dir_, "info --json " + dir_.File("characters/arrow.char"));
    EXPECT_EQ(o.exitCode, 0) << o.err;
    for (const char* part :
         {"\"mesh\":{\"path\":\"models/arrow/body.mdm\",\"found\":true}",
          "\"animationFiles\":1,\"animationFileList\":[{\"mdx\":\"animations/base/"
          "arrow.mdx\",\"animations\":1}]",
          "\"missing\":1,\"missingList\":[\"skin \\\"models/arrow/body_red.skin\\\" not found\"]"})
        EXPECT_NE(o.out.find(part), std::string::npos) << part << "\n" << o.out;
}

// The body skin's accessories are drawn on the body's tags: a cube on the arrow's tag adds
// its square to the picture; without the accessory line the arrow is drawn alone.
TEST_F(CliRenderSkeletal, CharacterWearsTheAccessoriesOfItsSkin) {
    ArrowCharacterTree();
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir_.File("models/arrow/box.md3")));
    // The arrow's only tag, renamed to where the game hangs a backpack.
    TMDM mesh;
    AnswerYesPrompts yes;
    ASSERT_TRUE(mesh.LoadFromFile(dir_.File("models/arrow/body.mdm"), yes));
    SetNameField("tag_back", mesh.tags[0].name);
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("models/arrow/body.mdm")));
    const std::string out = " " + dir_.File("c.tga") + " --size 64x64 --yaw 0 --pitch 0";
    const std::string render = "render " + dir_.File("characters/arrow.char") + out;

    Write("models/arrow/body_red.skin", "u_body, \"x.tga\"\n");
    ASSERT_EQ(RunCli(dir_, render).exitCode, 0);
    const int alone = Covered("c.tga");
    Write("models/arrow/body_red.skin", "md3_back, \"models/arrow/box.md3\"\n");
    const CliOutcome dressed = RunCli(dir_, render);
    ASSERT_EQ(dressed.exitCode, 0) << dressed.err;
    EXPECT_EQ(dressed.err, "");
    EXPECT_GT(Covered("c.tga"), alone * 3 / 2);
}

}  // namespace
