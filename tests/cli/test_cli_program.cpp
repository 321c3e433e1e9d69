// The veldra-cli program as scripts see it: exit codes and one-line errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

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
}

TEST(CliProgram, UsageErrorsExitTwoWithOneLine) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    const std::string cubeFile = dir.File("cube.md3");
    const std::pair<std::string, std::string> cases[] = {
        {"frobnicate", "unknown command \"frobnicate\""},
        {"", "A subcommand is required"},
        {"edit " + cubeFile, "OUT is required"},
        {"info --bogus " + cubeFile, "--bogus"},
        {"convert " + cubeFile + " " + dir.File("out.obj"), "unsupported output format"},
        {"edit " + cubeFile + " " + dir.File("out.md3") + " --scale big",
         "\"big\" is not a number"},
    };
    for (const auto& [args, reason] : cases) {
        const CliOutcome o = RunCli(dir, args);
        EXPECT_EQ(o.exitCode, 2) << args;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_EQ(o.err.rfind("veldra-cli: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find(reason), std::string::npos) << o.err;
    }
    const CliOutcome version = RunCli(dir, "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("veldra-cli ") + VELDRA_VERSION + "\n");
    const CliOutcome help = RunCli(dir, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes: 0 success"), std::string::npos) << help.out;
}

TEST(CliProgram, InputsThatAreNotRegularFilesAreRefusedWithoutWaiting) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.md3").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.md3"));
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("pipe.md3"), "Not a regular file."},
        {dir.File("pipe"), "Not a regular file."},  // looked into for its identifier
        {"/dev/null", "Not a regular file."},
        {dir.File("folder.md3"), "Is a directory."},
    };
    for (const auto& [path, reason] : cases) {
        // `timeout` turns a reader waiting for the pipe's writer into a failure, not a hang.
        const CliOutcome o = RunCli(dir, "info " + path, "timeout 20");
        EXPECT_EQ(o.exitCode, 1) << path;
        EXPECT_EQ(o.err, "veldra-cli: Cannot open file \"" + path + "\". " + reason + "\n");
    }
}

}  // namespace
