// veldra-cli render over many models at once, as a modder makes thumbnails of a whole PAK.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "md3/md3.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"
#if VELDRA_CLI_HAS_RENDER
#include "support/egl_platforms.h"
#endif

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;

// Width and height from a PNG's header; zeros for anything else. (Unused in a build without
// the renderer.)
[[maybe_unused]] std::pair<int, int> PngSize(const std::string& path) {
    const std::vector<std::uint8_t> b = ReadBytes(path);
    if (b.size() < 24 || b[0] != 0x89 || b[1] != 'P') return {0, 0};
    auto be32 = [&](std::size_t i) {
        return b[i] << 24 | b[i + 1] << 16 | b[i + 2] << 8 | b[i + 3];
    };
    return {be32(16), be32(20)};
}

TEST(CliRenderBatch, OnePicturePerModelAndArchiveEntryWithAResultEach) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#else
    VELDRA_REQUIRE_SURFACELESS_EGL();
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    std::filesystem::create_directories(dir.path() / "other");
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    ASSERT_TRUE(cube.SaveToFile(dir.File("other/cube.md3")));
    testing_support::WriteBytes(dir.File("broken.md3"), {'I', 'D', 'P', '3'});
    const std::string cubeBytes = testing_support::FileText(dir.File("cube.md3"));
    testing_support::WriteZip(dir.File("game.pk3"), {{"models/a/cube.md3", cubeBytes},
                                                     {"models/b/Cube.MD3", cubeBytes},
                                                     {"models/b/readme.txt", "text"}});
    const std::string out = dir.File("pictures");
    const std::string pk3 = dir.File("game.pk3");

    const CliOutcome o = RunCli(dir,
                                "render " + dir.File("cube.md3") + " " + pk3 + ":*.md3 " +
                                    dir.File("broken.md3") + " " + dir.File("other/cube.md3") +
                                    " " + pk3 + ":*.mdm --out-dir " + out + " --json --size 40x24",
                                "-u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(o.exitCode, 1) << o.err;
    for (const char* picture : {"cube.png", "models/a/cube.png", "models/b/Cube.png"}) {
        EXPECT_EQ(PngSize(out + "/" + picture), std::make_pair(40, 24)) << picture;
        EXPECT_NE(o.out.find("\"output\":\"" + out + "/" + picture + "\",\"ok\":true"),
                  std::string::npos)
            << o.out;
    }
    // A failed model, a second model of the same picture name and a mask that matches
    // nothing are each reported without stopping the others.
    for (const std::string& failed :
         {dir.File("broken.md3"), dir.File("other/cube.md3"), pk3 + ":*.mdm"}) {
        EXPECT_NE(o.out.find("\"file\":\"" + failed + "\""), std::string::npos) << failed;
    }
    EXPECT_NE(o.out.find("is already the picture of"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("no entry matches"), std::string::npos) << o.out;
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '{') - 1, 6) << o.out;  // one per input
#endif
}

TEST(CliRenderBatch, AFailedArchiveEntryIsNamedAsTheUserNamedIt) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#else
    ScratchDir dir;
    testing_support::WriteZip(dir.File("game.pk3"), {{"models/broken.md3", "IDP3"}});
    const std::string entry = dir.File("game.pk3") + ":models/broken.md3";
    const CliOutcome o = RunCli(dir, "render " + entry + " --out-dir " + dir.File("pictures"),
                                "-u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err.find("veldra-cli: Cannot load \"" + entry + "\": "), 0u) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
#endif
}

TEST(CliRenderBatch, MoreThanModelAndPictureNeedsAnOutputFolder) {
#if !VELDRA_CLI_HAS_RENDER
    GTEST_SKIP() << "built without the renderer (VELDRA_BUILD_GUI=OFF)";
#else
    ScratchDir dir;
    const CliOutcome o = RunCli(dir, "render a.md3 b.md3 c.png");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_NE(o.err.find("--out-dir"), std::string::npos) << o.err;
#endif
}

}  // namespace
