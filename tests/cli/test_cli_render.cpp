// veldra-cli render as a headless build server runs it: no display, no runtime folder, and
// stderr read by a script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "md3/md3.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/test_files.h"
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

}  // namespace
