// Compressed models through the commands a script uses on MD3s.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_cli.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::ScratchDir;

std::string Ident(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return bytes.size() < 4 ? std::string() : std::string(bytes.begin(), bytes.begin() + 4);
}

TEST(CliMDC, InfoConvertEditAndCheckTakeCompressedModels) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    ScratchDir dir;
    for (const char* name : {"v_kar98.mdc", "chair_office3.mdc"}) {
        SCOPED_TRACE(name);
        const std::string mdc = (SampleDir("mdc") / name).string();

        const CliOutcome info = RunCli(dir, "info --json " + mdc);
        ASSERT_EQ(info.exitCode, 0) << info.err;
        EXPECT_NE(info.out.find("\"format\":\"mdc\""), std::string::npos) << info.out;
        EXPECT_NE(info.out.find("\"version\":2"), std::string::npos);
        EXPECT_EQ(RunCli(dir, "check " + mdc).exitCode, 0);

        // Unchanged it comes back byte for byte; through an MD3 it becomes one and back.
        ASSERT_EQ(RunCli(dir, "convert " + mdc + " " + dir.File("same.mdc")).exitCode, 0);
        EXPECT_EQ(ReadBytes(dir.File("same.mdc")), ReadBytes(mdc));
        ASSERT_EQ(RunCli(dir, "convert " + mdc + " " + dir.File("plain.md3")).exitCode, 0);
        EXPECT_EQ(Ident(dir.File("plain.md3")), "IDP3");
        ASSERT_EQ(RunCli(dir, "convert " + dir.File("plain.md3") + " " + dir.File("again.MDC"))
                      .exitCode,
                  0);
        EXPECT_EQ(Ident(dir.File("again.MDC")), "IDPC");

        // An edit of an MDC writes an MDC.
        const CliOutcome edit = RunCli(dir, "edit " + mdc + " " + dir.File("edited.mdc") +
                                                " --rotate z:90 --rename-surface 0:renamed");
        ASSERT_EQ(edit.exitCode, 0) << edit.err;
        EXPECT_EQ(Ident(dir.File("edited.mdc")), "IDPC");
        const CliOutcome edited = RunCli(dir, "info " + dir.File("edited.mdc"));
        EXPECT_NE(edited.out.find("Format:   MDC"), std::string::npos) << edited.out;
        EXPECT_NE(edited.out.find("\"renamed\""), std::string::npos);
    }
}

}  // namespace
