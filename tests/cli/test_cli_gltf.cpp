#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "run_cli.h"
#include "support/test_files.h"
#include "support/textured_game.h"

namespace fs = std::filesystem;
using testing_support::SampleDir;
using testing_support::ScratchDir;

namespace {

void Write(const ScratchDir& dir, const std::string& name, const std::string& text) {
    fs::create_directories((dir.path() / name).parent_path());
    testing_support::WriteBytes(dir.File(name), {text.begin(), text.end()});
}

void Copy(const fs::path& from, const ScratchDir& dir, const std::string& name) {
    fs::create_directories((dir.path() / name).parent_path());
    fs::copy_file(from, dir.path() / name);
}

// Every kind the export takes, written as both forms, passes the Khronos validator.
TEST(CliGltf, EveryKindPassesTheValidator) {
    if (std::system("command -v node >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "node is not installed (scripts/install-deps.sh installs it)";
    if (!fs::exists(fs::path(VELDRA_GLTF_VALIDATE_SCRIPT).parent_path().parent_path() /
                    "build-tools/gltf-validator/node_modules/gltf-validator"))
        GTEST_SKIP() << "gltf-validator is not installed (scripts/install-deps.sh installs it)";
    VELDRA_REQUIRE_SAMPLES("mdm");
    const ScratchDir dir;
    const fs::path samples = SampleDir("mdm").parent_path();
    // A player whose animation list lies beside its MDX, and a character of it with a head.
    Copy(samples / "mdx/binocs.mdx", dir, "animations/binocs.mdx");
    Copy(samples / "aninc/binocs.aninc", dir, "animations/binocs.aninc");
    Copy(samples / "mdm/allied_soldier_body.mdm", dir, "models/players/x/body.mdm");
    Copy(samples / "md3/helmet.md3", dir, "models/players/hud/head.md3");
    Write(
        dir, "animations/x.anim",
        "animgroup {\n animfile \"animations/binocs.mdx\"\n {\n  look 0 21 0 20 0 0 0 0\n }\n}\n");
    Write(dir, "characters/x.char",
          "characterDef {\n mesh \"models/players/x/body.mdm\"\n animationGroup "
          "\"animations/x.anim\"\n hudhead \"models/players/hud/head.md3\"\n}\n");
    // A game whose cube is textured by a TGA (stored as PNG) or, through a skin, a JPEG.
    const std::string game = dir.File("game");
    testing_support::WriteTexturedGame(game);
    Write(dir, "blue.skin", testing_support::BlueSkinText());

    const std::string player =
        dir.File("models/players/x/body.mdm") + " --mdx " + dir.File("animations/binocs.mdx");
    const std::string cube = "\"" + dir.File("game/etmain/pak0.pk3") + ":" +
                             testing_support::kCubeEntry + "\" --game " + game;
    const struct {
        std::string arguments;
        std::string output;
    } exports[] = {
        {(samples / "md3/brown30cal_3rd_bipod.md3").string(), "bipod.glb"},
        {(samples / "mdc/sidechair3.mdc").string(), "chair.gltf"},
        {player, "player.glb"},
        {player + " --frames 3-9 --fps 15", "range.gltf"},
        {dir.File("characters/x.char"), "character.glb"},
        {cube, "green.glb"},
        {cube + " --skin " + dir.File("blue.skin"), "blue.gltf"},
    };
    std::string files;
    for (const auto& e : exports) {
        const CliOutcome o = RunCli(dir, "convert " + e.arguments + " " + dir.File(e.output));
        ASSERT_EQ(o.exitCode, 0) << e.output << ": " << o.err;
        files += " " + dir.File(e.output);
    }
    const std::string command =
        std::string("node ") + VELDRA_GLTF_VALIDATE_SCRIPT + files + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string report;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        report.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << report;
    for (const auto& e : exports)
        EXPECT_NE(report.find(e.output + ": 0 errors"), std::string::npos) << report;
    // The character's head hangs on the body's tag.
    const auto character = testing_support::ReadBytes(dir.File("character.glb"));
    EXPECT_NE(std::string(character.begin(), character.end()).find("\"name\":\"head\""),
              std::string::npos);
    // The pictures went in: the TGA as PNG, the skin's JPEG as it is.
    const auto green = testing_support::ReadBytes(dir.File("green.glb"));
    EXPECT_NE(std::string(green.begin(), green.end()).find("image/png"), std::string::npos);
    const auto blue = testing_support::ReadBytes(dir.File("blue.gltf"));
    EXPECT_NE(std::string(blue.begin(), blue.end()).find("image/jpeg"), std::string::npos);
}

TEST(CliGltf, RefusesWhatItCannotExport) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    const ScratchDir dir;
    const fs::path samples = SampleDir("mdm").parent_path();
    const std::string mesh = (samples / "mdm/naked.mdm").string();
    const std::string bipod = (samples / "md3/brown30cal_3rd_bipod.md3").string();
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {mesh, 2, "a player mesh needs its animation (--mdx ANIM.mdx)"},
        {bipod + " --mdx " + (samples / "mdx/binocs.mdx").string(), 2,
         "--mdx applies to MDM meshes only"},
        {bipod + " --frames 0-2", 1, "--frames 0-2 is not within its 2 frames"},
        {bipod + " --fps -1", 2, "--fps must be above 0"},
        {(samples / "mdx/binocs.mdx").string(), 2, "glTF takes MD3 and MDC models"},
    };
    for (const auto& c : cases) {
        const CliOutcome o = RunCli(dir, "convert " + c.arguments + " " + dir.File("out.glb"));
        EXPECT_EQ(o.exitCode, c.exitCode) << c.arguments << ": " << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    }
    EXPECT_FALSE(fs::exists(dir.File("out.glb")));
}

}  // namespace
