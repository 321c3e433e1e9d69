// `pk3 list` and `pk3 extract` as scripts run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "md3/md3.h"
#include "model_factory.h"
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
    EXPECT_EQ(o.out, "{\"file\":\"" + dir.File("a.pk3") +
                         "\",\"entries\":1,\"entryList\":[{\"name\":\"models/"
                         "A.MD3\",\"size\":5,\"compressedSize\":" +
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

TEST(CliPk3, ModelArgumentsNameArchiveEntries) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("cube.md3")));
    WriteZip(dir.File("m.pk3"), {{"Models/Cube.MD3", FileText(dir.File("cube.md3"))}});
    const std::string entry = dir.File("m.pk3") + ":models/cube.md3";
    CliOutcome o = RunCli(dir, "info --json " + entry);
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_NE(o.out.find("\"tag_top\""), std::string::npos);
    o = RunCli(dir, "convert " + entry + " " + dir.File("out.md3"));
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(FileText(dir.File("out.md3")), FileText(dir.File("cube.md3")));
    o = RunCli(dir, "info " + dir.File("cube.md3") + " " + dir.File("m.pk3") + ":none.md3");
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err, "veldra-cli: Cannot load \"" + dir.File("m.pk3") +
                         ":none.md3\": \"none.md3\" is not in \"" + dir.File("m.pk3") +
                         "\", nor \"none.mdc\"\n");
    EXPECT_NE(o.out.find("tag_top"), std::string::npos);
}

// Player meshes and animations are read from archives by every command that takes them.
TEST(CliPk3, SkeletalArgumentsNameArchiveEntries) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    ScratchDir dir;
    const std::string mesh = (SampleDir("mdm") / "allied_engineer_body.mdm").string();
    const std::string anim = (SampleDir("mdx") / "mortar.mdx").string();
    WriteZip(dir.File("p.pk3"), {{"models/body.mdm", FileText(mesh)},
                                 {"animations/mortar.mdx", FileText(anim)},
                                 {"models/body_x.skin", "u_body,models/x.tga\n"}});
    const std::string pk3 = dir.File("p.pk3") + ":";
    CliOutcome o = RunCli(dir, "info --json " + pk3 + "models/body.mdm");
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_NE(o.out.find("\"u_body\""), std::string::npos);
    o = RunCli(dir, "lod " + pk3 + "models/body.mdm " + pk3 + "animations/mortar.mdx " +
                        dir.File("lod.mdm"));
    EXPECT_EQ(o.exitCode, 0) << o.err;
    o = RunCli(dir, "bake " + pk3 + "models/body.mdm " + pk3 + "animations/mortar.mdx " +
                        dir.File("baked.md3") + " --skin " + pk3 + "models/body_x.skin");
    EXPECT_EQ(o.exitCode, 0) << o.err;
    const auto baked = testing_support::ReadBytes(dir.File("baked.md3"));
    EXPECT_NE(std::string(baked.begin(), baked.end()).find("models/x.tga"), std::string::npos);
}

}  // namespace
