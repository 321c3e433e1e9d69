// The veldra-cli program as scripts see it: exit codes and one-line errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "md3/md3.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome RunCli(const ScratchDir& dir, const std::string& args) {
    const std::string errFile = dir.File("stderr.txt");
    const std::string command = std::string(VELDRA_CLI_PATH) + " " + args + " 2>" + errFile;
    Outcome result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto err = ReadBytes(errFile);
    result.err.assign(err.begin(), err.end());
    return result;
}

TEST(CliProgram, SuccessExitsZero) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    const Outcome info = RunCli(dir, "info --json " + dir.File("cube.md3"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out.rfind("{\"format\":\"md3\"", 0), 0u) << info.out;
    EXPECT_EQ(info.err, "");
    EXPECT_EQ(RunCli(dir, "convert " + dir.File("cube.md3") + " " + dir.File("b.md3")).exitCode, 0);
}

TEST(CliProgram, FailuresPrintOneLineNamingTheFile) {
    ScratchDir dir;
    WriteBytes(dir.File("junk.md3"), std::vector<std::uint8_t>(300, 0x41));
    WriteBytes(dir.File("keep.md3"), std::vector<std::uint8_t>(3, 7));
    const Outcome cases[] = {
        RunCli(dir, "info " + dir.File("absent.md3")),
        RunCli(dir, "info " + dir.File("junk.md3")),
        RunCli(dir, "convert " + dir.File("junk.md3") + " " + dir.File("keep.md3")),
    };
    for (const Outcome& o : cases) {
        EXPECT_EQ(o.exitCode, 1);
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(dir.path().string()), std::string::npos) << o.err;
    }
    EXPECT_EQ(ReadBytes(dir.File("keep.md3")), std::vector<std::uint8_t>(3, 7));
    EXPECT_EQ(RunCli(dir, "frobnicate").exitCode, 1);
}

}  // namespace
