// `veldra-cli convert IN.map OUT.md3`: the program's exit codes and messages, the bounds
// flag, and texture sizes found through --game.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "cli/cli_error.h"
#include "cli/map_convert.h"
#include "cli/run_cli.h"
#include "md3/md3.h"

using testing_support::ScratchDir;

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A worldspawn with one box brush from (0, 0, 0) to (size, 64, 64).
std::string BoxMap(int size, const std::string& texture) {
    const std::string s = std::to_string(size);
    auto face = [&](const std::string& points) {
        return points + " " + texture + " 0 0 0 1 1 0 0 0\n";
    };
    return "{\n\"classname\" \"worldspawn\"\n{\n" + face("( 0 64 64 ) ( 0 0 64 ) ( 0 0 0 )") +
           face("( " + s + " 64 64 ) ( 0 64 64 ) ( 0 64 0 )") +
           face("( " + s + " 0 64 ) ( " + s + " 64 64 ) ( " + s + " 64 0 )") +
           face("( 0 0 64 ) ( " + s + " 0 64 ) ( " + s + " 0 0 )") +
           face("( 0 0 64 ) ( 0 64 64 ) ( " + s + " 64 64 )") +
           face("( " + s + " 64 0 ) ( 0 64 0 ) ( 0 0 0 )") + "}\n}\n";
}

}  // namespace

TEST(CliMapConvert, ConvertsRefusesAndScalesOnRequest) {
    ScratchDir dir;
    WriteText(dir.File("box.map"), BoxMap(64, "wall"));
    WriteText(dir.File("big.map"), BoxMap(1022, "wall"));
    const std::string out = dir.File("out.md3");

    CliOutcome r = RunCli(dir, "convert " + dir.File("box.map") + " " + out);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunCli(dir, "info --json " + out);
    EXPECT_NE(r.out.find("\"vertices\":24,\"triangles\":12"), std::string::npos) << r.out;

    r = RunCli(dir, "convert " + dir.File("big.map") + " " + out);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("MAP-model coordinates are exceeding the MD3 bounds: -511 to 511"),
              std::string::npos)
        << r.err;
    r = RunCli(dir, "convert --scale-to-fit " + dir.File("big.map") + " " + out);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    TMD3 model;
    ASSERT_TRUE(model.LoadFromFile(out));
    EXPECT_EQ(model.header.frames[0].maxBounds.x, 511.0f);

    EXPECT_EQ(RunCli(dir, "convert " + dir.File("none.map") + " " + out).exitCode, 1);
    EXPECT_EQ(RunCli(dir, "convert " + dir.File("box.map") + " " + dir.File("x.mdm")).exitCode, 2);
}

TEST(CliMapConvert, GameDataGivesTheTextureSize) {
    VELDRA_REQUIRE_SAMPLES("textures");
    ScratchDir dir;
    // A 64-unit face over a 1024 x 512 texture found beside the map spans 1/16 by 1/8.
    WriteText(dir.File("box.map"), BoxMap(64, "a_1024x512"));
    std::filesystem::copy_file(testing_support::SampleDir("textures") / "a_1024x512.tga",
                               dir.File("a_1024x512.tga"));
    const std::string out = dir.File("out.md3");
    const auto largestS = [&out] {
        TMD3 model;
        EXPECT_TRUE(model.LoadFromFile(out));
        float largest = 0;
        for (const TMD3TexCoord& tc : model.header.surfaces[0].texCoords)
            largest = std::max(largest, std::fabs(tc.s));
        return largest;
    };
    for (const bool game : {false, true}) {
        const CliOutcome r = RunCli(dir, "convert " + dir.File("box.map") + " " + out +
                                             (game ? " --game " + dir.path().string() : ""));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_FLOAT_EQ(largestS(), game ? 0.0625f : 0.25f);
    }
    // Loose images under etmain/textures of a folder without the game's archives count too.
    ScratchDir game;
    std::filesystem::create_directories(game.File("etmain/textures/x"));
    std::filesystem::copy_file(testing_support::SampleDir("textures") / "a_1024x512.tga",
                               game.File("etmain/textures/x/a.tga"));
    WriteText(dir.File("loose.map"), BoxMap(64, "x/a"));
    const CliOutcome r = RunCli(
        dir, "convert " + dir.File("loose.map") + " " + out + " --game " + game.path().string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FLOAT_EQ(largestS(), 0.0625f);
}

TEST(CliMapConvert, NothingToConvertAndSplitsAreTheUsersToKnow) {
    ScratchDir dir;
    const std::string out = dir.File("out.md3");
    WriteText(dir.File("empty.map"), "{\n\"classname\" \"worldspawn\"\n}\n");
    WriteText(dir.File("random.map"), "not a map at all\n");
    for (const char* name : {"empty.map", "random.map"}) {
        const CliOutcome r = RunCli(dir, "convert " + dir.File(name) + " " + out);
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_NE(r.err.find(std::string(name) + "\": no triangles to convert"), std::string::npos)
            << r.err;
    }
    // A func_door's brush is left out with a warning that names the file.
    const std::string box = BoxMap(64, "wall");
    WriteText(dir.File("door.map"),
              box + "{\n\"classname\" \"func_door\"\n" + box.substr(box.find("{\n(")));
    const CliOutcome door = RunCli(dir, "convert " + dir.File("door.map") + " " + out);
    EXPECT_EQ(door.exitCode, 0) << door.err;
    EXPECT_EQ(door.err, "veldra-cli: warning: " + dir.File("door.map") +
                            ": 1 brush of entities the map compiler keeps apart (func_door) "
                            "left out\n");
}

TEST(CliMapConvert, CtrlCStopsTheReadingWithAMessage) {
    ScratchDir dir;
    WriteText(dir.File("box.map"), BoxMap(64, "wall"));
    // The texture lookup runs inside the reading: a Ctrl+C there arrives as a user's would.
    InstallMapTextureSizes([](const std::string&, const std::string&,
                              std::vector<std::string>&) -> TTextureSizeLookup {
        return [](const std::string&) -> std::optional<std::pair<int, int>> {
            std::raise(SIGINT);
            return std::nullopt;
        };
    });
    TMD3 model;
    std::ostringstream warnings;
    std::string error;
    try {
        MapToMD3(dir.File("box.map"), model, {false, dir.path().string(), false}, warnings);
    } catch (const CliError& e) {
        error = e.what();
    }
    InstallMapTextureSizes(nullptr);
    EXPECT_EQ(error, "Cannot convert \"" + dir.File("box.map") + "\": interrupted");
    EXPECT_TRUE(model.header.surfaces.empty());
}
