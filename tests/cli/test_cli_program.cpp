// The veldra-cli program as scripts see it: exit codes and one-line errors.
#include <gtest/gtest.h>

#include <algorithm>

#include "md3/md3.h"
#include "model_factory.h"
#include "run_cli.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

TEST(CliProgram, SuccessExitsZero) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    const CliOutcome info = RunCli(dir, "info --json " + dir.File("cube.md3"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out.rfind("{\"format\":\"md3\"", 0), 0u) << info.out;
    EXPECT_EQ(info.err, "");
    EXPECT_EQ(RunCli(dir, "convert " + dir.File("cube.md3") + " " + dir.File("b.md3")).exitCode, 0);
}

TEST(CliProgram, FailuresPrintOneLineNamingTheFile) {
    ScratchDir dir;
    WriteBytes(dir.File("junk.md3"), std::vector<std::uint8_t>(300, 0x41));
    WriteBytes(dir.File("keep.md3"), std::vector<std::uint8_t>(3, 7));
    const CliOutcome cases[] = {
        RunCli(dir, "info " + dir.File("absent.md3")),
        RunCli(dir, "info " + dir.File("junk.md3")),
        RunCli(dir, "convert " + dir.File("junk.md3") + " " + dir.File("keep.md3")),
    };
    for (const CliOutcome& o : cases) {
        EXPECT_EQ(o.exitCode, 1);
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(dir.path().string()), std::string::npos) << o.err;
    }
    EXPECT_EQ(ReadBytes(dir.File("keep.md3")), std::vector<std::uint8_t>(3, 7));
    EXPECT_EQ(RunCli(dir, "frobnicate").exitCode, 1);
}

}  // namespace
