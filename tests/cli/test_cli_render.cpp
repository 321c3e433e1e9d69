// veldra-cli render as a headless build server runs it: no display, no runtime folder, and
// stderr read by a script.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "md3/md3.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"
#include "support/textured_game.h"
#include "support/zip_fixture.h"
#if VELDRA_CLI_HAS_RENDER
#include "support/egl_platforms.h"
#endif

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;

// XDG_RUNTIME_DIR goes too: its absence is what makes the toolkit warn.
const std::string kNoDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR";

class CliRender : public ::testing::Test {
  protected:
    void SetUp() override {
#if !VELDRA_CLI_HAS_RENDER
        GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#else
        VELDRA_REQUIRE_SURFACELESS_EGL();
        TMD3 cube;
        MakeCube(cube);
        ASSERT_TRUE(cube.SaveToFile(model_));
#endif
    }

    ScratchDir dir_;
    const std::string model_ = dir_.File("cube.md3");
};

TEST_F(CliRender, DrawsWithoutADisplayAndPrintsNothing) {
    const CliOutcome png = RunCli(
        dir_, "render " + model_ + " " + dir_.File("cube.png") + " --size 96x64", kNoDisplay);
    EXPECT_EQ(png.exitCode, 0);
    EXPECT_EQ(png.err, "");
    const auto pngBytes = ReadBytes(dir_.File("cube.png"));
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GE(pngBytes.size(), signature.size());
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), pngBytes.begin()));

    const CliOutcome tga = RunCli(
        dir_, "render " + model_ + " " + dir_.File("cube.tga") + " --size 96x64", kNoDisplay);
    EXPECT_EQ(tga.exitCode, 0);
    EXPECT_EQ(tga.err, "");
    const auto t = ReadBytes(dir_.File("cube.tga"));
    constexpr int kW = 96, kH = 64;
    ASSERT_EQ(t.size(), 18u + kW * kH * 4u);
    EXPECT_EQ(t[12] | t[13] << 8, kW);
    EXPECT_EQ(t[14] | t[15] << 8, kH);
    EXPECT_EQ(t[16], 32);
    auto alpha = [&](int x, int y) { return t[18 + (y * kW + x) * 4 + 3]; };
    EXPECT_EQ(alpha(kW / 2, kH / 2), 255);  // the cube fills the middle
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(kW - 1, kH - 1), 0);
}

TEST_F(CliRender, TheModelFillsThePictureUpToASmallMargin) {
    // A flat ring, 20 units across and 6 high, beside the cube.
    TMD3 ring;
    MakeModel(ring, {.vertsPerSurface = 64});
    ASSERT_TRUE(ring.SaveToFile(dir_.File("ring.md3")));
    struct Case {
        int width, height;
        const char* angles;
    };
    const Case cases[] = {{96, 96, ""},
                          {192, 96, ""},
                          {96, 192, ""},
                          {192, 96, " --yaw 90 --pitch 0"},
                          {96, 96, " --yaw -60 --pitch 75"}};
    for (const char* model : {"ring.md3", "cube.md3"}) {
        for (const Case& c : cases) {
            const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
            SCOPED_TRACE(std::string(model) + " " + size + c.angles);
            const CliOutcome o = RunCli(dir_,
                                        "render " + dir_.File(model) + " " + dir_.File("fill.tga") +
                                            " --size " + size + c.angles,
                                        kNoDisplay);
            ASSERT_EQ(o.exitCode, 0) << o.err;
            const auto t = ReadBytes(dir_.File("fill.tga"));
            ASSERT_EQ(t.size(), 18u + static_cast<std::size_t>(c.width * c.height) * 4u);
            int left = c.width, right = -1, bottom = c.height, top = -1;
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    if (t[18 + (y * c.width + x) * 4 + 3] == 0) continue;
                    left = std::min(left, x), right = std::max(right, x);
                    bottom = std::min(bottom, y), top = std::max(top, y);
                }
            }
            ASSERT_GE(right, 0) << "nothing drawn";
            // The margin stays free on every side...
            EXPECT_GT(left, 0);
            EXPECT_GT(bottom, 0);
            EXPECT_LT(right, c.width - 1);
            EXPECT_LT(top, c.height - 1);
            // ...and the model reaches close to it on its tighter axis.
            const double filled = std::max(static_cast<double>(right - left + 1) / c.width,
                                           static_cast<double>(top - bottom + 1) / c.height);
            EXPECT_GT(filled, 0.88);
        }
    }
}

// The share of the model's pixels in a TGA picture that show `colour`.
double ShareOfColour(const std::vector<std::uint8_t>& tga, const testing_support::Rgb& colour) {
    int covered = 0, matching = 0;
    for (std::size_t p = 18; p + 3 < tga.size(); p += 4) {
        if (tga[p + 3] != 255) continue;
        ++covered;
        const int bgr[3] = {tga[p + 2], tga[p + 1], tga[p]};
        bool near = true;
        for (int c = 0; c < 3; ++c)
            near = near && std::abs(bgr[c] - colour[static_cast<std::size_t>(c)]) <= 8;
        matching += near ? 1 : 0;
    }
    return covered == 0 ? 0.0 : static_cast<double>(matching) / covered;
}

TEST_F(CliRender, GameDataTexturesTheModelAsTheProgramDoes) {
    using namespace testing_support;
    const std::string game = dir_.File("game");
    const std::string pak = WriteTexturedGame(game);
    std::ofstream(dir_.File("blue.skin")) << BlueSkinText();
    std::ofstream(dir_.File("red.shader")) << RedShaderListScript();
    // A player mesh naming the cube's shader, seen from above.
    TMDM mesh;
    TMDX anim;
    MakeSquarePair(mesh, anim);
    mesh.SetSurfaceShader(0, "textures/sample/cube");
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("square.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("square.mdx")));
    const std::string fromAbove = " --mdx " + dir_.File("square.mdx") + " --pitch 90";
    // The same game with its archive unpacked: etmain holds the archive's folders.
    std::filesystem::create_directories(dir_.File("unpacked/etmain/scripts"));
    std::filesystem::create_directories(dir_.File("unpacked/etmain/textures/sample"));
    std::ofstream(dir_.File("unpacked/etmain/scripts/sample.shader"))
        << "textures/sample/cube\n{\n\t{\n\t\tmap textures/sample/green.tga\n\t}\n}\n";
    std::ofstream(dir_.File("unpacked/etmain/textures/sample/green.tga"), std::ios::binary)
        << OneColourTga(kGameGreen);
    struct Case {
        std::string model, options;
        Rgb colour;
    };
    const Case cases[] = {
        {model_, "", {255, 255, 255}},  // no game: white
        {model_, " --game " + game, kGameGreen},
        {pak + ":" + kCubeEntry, " --game " + game, kGameGreen},
        {model_, " --game " + game + " --shaderlist " + dir_.File("red.shader"), kListRed},
        {model_, " --game " + game + " --skin " + dir_.File("blue.skin"), kSkinBlue},
        {model_, " --game " + game + " --skin " + pak + ":" + kCubeSkinEntry, kSkinBlue},
        {model_, " --game " + dir_.File("unpacked"), kGameGreen},
        {dir_.File("square.mdm"), fromAbove, {255, 255, 255}},
        {dir_.File("square.mdm"), fromAbove + " --game " + game, kGameGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model + c.options);
        const CliOutcome o = RunCli(dir_,
                                    "render " + c.model + " " + dir_.File("tex.tga") +
                                        " --size 64x64 --no-lighting" + c.options,
                                    kNoDisplay);
        ASSERT_EQ(o.exitCode, 0) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_GT(ShareOfColour(ReadBytes(dir_.File("tex.tga")), c.colour), 0.95);
    }
    // An image that is nowhere is named rather than drawn white without a word.
    std::ofstream(dir_.File("gone.skin")) << "cube, textures/gone.tga\n";
    const CliOutcome gone = RunCli(dir_,
                                   "render " + model_ + " " + dir_.File("tex.tga") + " --game " +
                                       game + " --skin " + dir_.File("gone.skin"),
                                   kNoDisplay);
    EXPECT_EQ(gone.exitCode, 0) << gone.err;
    EXPECT_NE(gone.err.find("no shader or image \"textures/gone.tga\" found"), std::string::npos)
        << gone.err;
    // Texturing that cannot be done as asked is refused rather than drawn white.
    const std::pair<std::string, int> refused[] = {
        {" --skin " + dir_.File("blue.skin"), 2},  // nothing to take the skin's images from
        {" --game " + dir_.File("none"), 1},
        {" --game " + game + " --pk3 " + dir_.File("none.pk3"), 1},
        {" --game " + game + " --skin " + dir_.File("none.skin"), 1},
    };
    for (const auto& [options, code] : refused) {
        const CliOutcome o =
            RunCli(dir_, "render " + model_ + " " + dir_.File("no.tga") + options, kNoDisplay);
        EXPECT_EQ(o.exitCode, code) << options << ": " << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_FALSE(std::filesystem::exists(dir_.File("no.tga")));
    }
}

TEST_F(CliRender, TimeChoosesTheMomentAnimatedShadersAreDrawnAt) {
    using namespace testing_support;
    const std::string game = dir_.File("game");
    WriteTexturedGame(game);
    // Full colour for the first half of each second, black for the second.
    std::ofstream(dir_.File("pulse.shader"))
        << "textures/sample/cube\n{\n{\nmap textures/sample/red.tga\n"
           "rgbGen wave square 0 1 0 1\n}\n}\n";
    const std::string base = "render " + model_ + " " + dir_.File("t.tga") +
                             " --size 64x64 --no-lighting --game " + game + " --shaderlist " +
                             dir_.File("pulse.shader");
    const std::pair<const char*, Rgb> cases[] = {
        {"", kListRed}, {" --time 0.25", kListRed}, {" --time 0.75", {0, 0, 0}}};
    for (const auto& [time, colour] : cases) {
        const CliOutcome o = RunCli(dir_, base + time, kNoDisplay);
        ASSERT_EQ(o.exitCode, 0) << time << ": " << o.err;
        EXPECT_GT(ShareOfColour(ReadBytes(dir_.File("t.tga")), colour), 0.95) << time;
    }
    const CliOutcome bad = RunCli(dir_, base + " --time inf", kNoDisplay);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("not a finite number of seconds"), std::string::npos) << bad.err;
}

TEST_F(CliRender, WithoutAnyOpenGLFailsInOneLineNamingTheModel) {
    // With no EGL vendor the toolkit is tried and finds no display either; its warnings on
    // the way must not reach stderr.
    const CliOutcome o =
        RunCli(dir_, "render " + model_ + " " + dir_.File("none.png"),
               kNoDisplay + " __EGL_VENDOR_LIBRARY_FILENAMES=" + dir_.File("no-vendors.json"));
    if (o.exitCode == 0) GTEST_SKIP() << "this EGL loader cannot be stripped of its vendors";
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find(model_), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("OpenGL"), std::string::npos) << o.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("none.png")));
}

TEST_F(CliRender, FallsBackToTheToolkitWhereEglHasNoVendor) {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "the toolkit's offscreen surface needs a display (run under xvfb-run)";
    const CliOutcome o =
        RunCli(dir_, "render " + model_ + " " + dir_.File("cube.png") + " --size 32x32",
               "-u XDG_RUNTIME_DIR __EGL_VENDOR_LIBRARY_FILENAMES=" + dir_.File("none.json"));
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "");  // the toolkit's warning about XDG_RUNTIME_DIR is held back
    EXPECT_TRUE(std::filesystem::exists(dir_.File("cube.png")));
}

// The lower levels of detail are the game's "X_1"/"X_2" files, an MDC where no MD3 is, beside
// the file or in the same archive; here level 1 has three frames where the model has one.
TEST_F(CliRender, AnMD3LevelOfDetailIsDrawnFromItsOwnFile) {
    TMD3 ring;
    MakeModel(ring, {.frames = 3});
    ASSERT_TRUE(ring.SaveToFile(dir_.File("cube_1.mdc")));  // an MD3 under the other name
    const std::string cube = testing_support::FileText(model_);
    const std::string pk3 = dir_.File("game.pk3");
    testing_support::WriteZip(
        pk3, {{"models/gun.md3", cube},
              {"models/gun_1.mdc", testing_support::FileText(dir_.File("cube_1.mdc"))},
              {"models/only.mdc", cube}});
    const std::string out = " " + dir_.File("out.png") + " --size 32x32";
    const struct {
        std::string arguments;
        int exitCode;
        std::string err;  // empty: anything
    } cases[] = {
        {model_ + out + " --md3-lod 1 --frame 2", 0, ""},
        {pk3 + ":models/gun.md3" + out + " --md3-lod 1 --frame 2", 0, ""},
        {pk3 + ":models/only.md3" + out, 0, ""},
        {model_ + out + " --frame 2", 1,
         "veldra-cli: Cannot render \"" + model_ + "\": it has no frame 2 (frames: 1)\n"},
        {model_ + out + " --md3-lod 2", 1,
         "veldra-cli: Cannot load level 2 of \"" + model_ + "\": there is no \"" +
             dir_.File("cube_2.md3") + "\" or \"" + dir_.File("cube_2.mdc") + "\"\n"},
        {pk3 + ":models/gun.md3" + out + " --md3-lod 2", 1,
         "veldra-cli: Cannot load level 2 of \"" + pk3 +
             ":models/gun.md3\": \"models/gun_2.md3\" "
             "is not in \"" +
             pk3 + "\", nor \"models/gun_2.mdc\"\n"},
        {model_ + out + " --md3-lod 3", 2, ""},
    };
    for (const auto& c : cases) {
        const CliOutcome o = RunCli(dir_, "render " + c.arguments, kNoDisplay);
        EXPECT_EQ(o.exitCode, c.exitCode) << c.arguments << "\n" << o.err;
        if (!c.err.empty()) {
            EXPECT_EQ(o.err, c.err) << c.arguments;
        }
    }
}

TEST(CliRenderRefusal, AModelWithoutVerticesFailsInOneLineAndWritesNothing) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#endif
    ScratchDir dir;
    TMD3 hand;  // tags only, as first-person hand models are
    MakeModel(hand, {.surfaces = 0, .frames = 3, .tags = 2});
    ASSERT_TRUE(hand.SaveToFile(dir.File("hand.md3")));
    const CliOutcome o =
        RunCli(dir, "render " + dir.File("hand.md3") + " " + dir.File("hand.png"), kNoDisplay);
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err, "veldra-cli: Cannot render \"" + dir.File("hand.md3") +
                         "\": it has no vertices to draw\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("hand.png")));
}

TEST(CliRenderRefusal, AnglesThatAreNoFiniteNumberAreUsageErrors) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#endif
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    for (const char* angle : {"--yaw nan", "--yaw -inf", "--pitch 1e39", "--pitch 20x"}) {
        const CliOutcome o =
            RunCli(dir, "render " + dir.File("cube.md3") + " " + dir.File("c.png") + " " + angle,
                   kNoDisplay);
        EXPECT_EQ(o.exitCode, 2) << angle;
        EXPECT_NE(o.err.find("not a finite number"), std::string::npos) << o.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("c.png"))) << angle;
    }
}

// The libraries ldd lists for a program ("libQt6Gui.so.6", "libc.so.6", ...); a program
// without any gives a line such as "statically linked".
std::vector<std::string> LoadedLibraries(const std::string& program) {
    std::vector<std::string> names;
    FILE* pipe = ::popen(("ldd " + program + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return names;
    std::array<char, 1024> line{};
    while (std::fgets(line.data(), line.size(), pipe) != nullptr) {
        const std::string text = line.data();
        const auto first = text.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        names.push_back(text.substr(first, text.find_first_of(" \t\n", first) - first));
    }
    ::pclose(pipe);
    return names;
}

bool DrawingLibrary(const std::string& name) {
    for (const char* prefix : {"libQt", "libGL", "libEGL", "libOpenGL"})
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

// The commands that do not draw start without the toolkit and OpenGL; only the renderer
// program beside veldra-cli loads them.
TEST(CliStart, OnlyTheRendererLoadsTheToolkitAndOpenGL) {
    struct Case {
        std::string program;
        bool draws;
    };
    std::vector<Case> cases = {{VELDRA_CLI_PATH, false}};
#if VELDRA_CLI_HAS_RENDER
    cases.push_back({VELDRA_CLI_RENDERER_PATH, true});
#endif
    for (const Case& c : cases) {
        const std::vector<std::string> libraries = LoadedLibraries(c.program);
        ASSERT_FALSE(libraries.empty()) << c.program;
        EXPECT_EQ(std::any_of(libraries.begin(), libraries.end(), DrawingLibrary), c.draws)
            << c.program;
    }
}

TEST(CliStart, RenderWithoutTheRendererFailsInOneLine) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#endif
    ScratchDir dir;
    const std::string alone = dir.File("veldra-cli");
    std::filesystem::copy_file(VELDRA_CLI_PATH, alone);
    const std::string command = alone + " render " + dir.File("m.md3") + " " + dir.File("m.png") +
                                " 2>" + dir.File("err.txt");
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    const auto err = ReadBytes(dir.File("err.txt"));
    const std::string text(err.begin(), err.end());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find(dir.File("m.md3")), std::string::npos) << text;
    EXPECT_NE(text.find("veldra-cli-render"), std::string::npos) << text;
}

}  // namespace
