// `pk3 list` and `pk3 extract` as scripts run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "run_cli.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace {

using namespace testing_support;

TEST(CliPk3, ListWithMaskAndJson) {
    ScratchDir dir;
    WriteZip(dir.File("a.pk3"),
             {{"models/", ""}, {"models/A.MD3", "12345"}, {"scripts/x.shader", "s"}});
    CliOutcome o = RunCli(dir, "pk3 list " + dir.File("a.pk3"));
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, "models/A.MD3\nscripts/x.shader\n");
    o = RunCli(dir, "pk3 list " + dir.File("a.pk3") + " --mask '*.md3' --json");
    EXPECT_EQ(o.out,
              "{\"archive\":\"" + dir.File("a.pk3") +
                  "\",\"entries\":[{\"name\":\"models/A.MD3\",\"size\":5,\"compressedSize\":" +
                  o.out.substr(o.out.rfind(':') + 1));
    o = RunCli(dir, "pk3 list " + dir.File("none.pk3"));
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_NE(o.err.find("Cannot open file"), std::string::npos);
}

TEST(CliPk3, ExtractWritesOnlyInsideTheTargetAndNamesEachRefusal) {
    ScratchDir dir;
    WriteZip(dir.File("h.pk3"), {{"models/a.md3", "a"},
                                 {"scripts/s.shader", "s"},
                                 {"../escape.txt", "e"},
                                 {"/tmp/veldra-absolute.txt", "e"}});
    const CliOutcome o =
        RunCli(dir, "pk3 extract " + dir.File("h.pk3") + " '*.md3' '*' --to " + dir.File("out"));
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_NE(o.err.find("\"../escape.txt\""), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("\"/tmp/veldra-absolute.txt\""), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "Extracted 2 of 4 files into " + dir.File("out") + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir.File("out/models/a.md3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("escape.txt")));
    EXPECT_FALSE(std::filesystem::exists("/tmp/veldra-absolute.txt"));
}

}  // namespace
