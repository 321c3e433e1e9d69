// veldra-cli convert over many inputs into one folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "md3/md3.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;

TEST(CliConvertBatch, EachInputIntoTheFolderNeverOverAnInputOrAnotherOutput) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    std::filesystem::create_directories(dir.path() / "other");
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    ASSERT_TRUE(cube.SaveToFile(dir.File("other/cube.md3")));
    const auto original = ReadBytes(dir.File("cube.md3"));

    const CliOutcome o =
        RunCli(dir, "convert " + dir.File("cube.md3") + " " + dir.File("other/cube.md3") + " " +
                        dir.File("none.md3") + " --out-dir " + dir.File("out"));
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(ReadBytes(dir.File("out/cube.md3")), original);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 2) << o.err;
    EXPECT_NE(o.err.find("other/cube.md3\": \"" + dir.File("out/cube.md3") + "\" is its input or"),
              std::string::npos)
        << o.err;

    // Into its own folder the model would replace itself.
    const CliOutcome inPlace =
        RunCli(dir, "convert " + dir.File("cube.md3") + " --out-dir " + dir.File(""));
    EXPECT_EQ(inPlace.exitCode, 1);
    EXPECT_NE(inPlace.err.find("is its input"), std::string::npos) << inPlace.err;
    EXPECT_EQ(ReadBytes(dir.File("cube.md3")), original);
}

}  // namespace
