// veldra-cli on MDS models: info describes one, convert writes the MDM and the MDX beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "mds_writer.h"
#include "run_cli.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

TEST(CliMDS, InfoDescribesAndConvertWritesThePair) {
    TMDM squareMesh;
    TMDX squareAnim;
    testing_support::MakeSquarePair(squareMesh, squareAnim, {.bones = 3, .tags = 2});
    ScratchDir dir;
    const std::string model = dir.File("square.MDS");
    ASSERT_TRUE(WriteMDS(AssembleMDS(squareMesh, squareAnim, 2), model));

    std::ostringstream out, err;
    ASSERT_EQ(RunInfo({model}, true, out, err), 0) << err.str();
    for (const char* piece :
         {"{\"format\":\"mds\"", "\"frames\":3,", "{\"name\":\"tag_1\",\"parent\":0,\"flags\":1}",
          "\"tags\":2,\"tagList\":[{\"name\":\"tag_0\",\"bone\":3},"}) {
        EXPECT_NE(out.str().find(piece), std::string::npos) << piece << "\n" << out.str();
    }

    ASSERT_EQ(RunConvert(model, dir.File("out.mdm"), err), 0) << err.str();
    AnswerYesPrompts yes;
    TMDM mesh;
    TMDX anim;
    ASSERT_TRUE(mesh.LoadFromFile(dir.File("out.mdm"), yes)) << mesh.LastError();
    ASSERT_TRUE(anim.LoadFromFile(dir.File("out.mdx"))) << anim.LastError();
    EXPECT_EQ(mesh.header.numTags, 2u);
    EXPECT_EQ(anim.header.numBones, 3u);

    EXPECT_THROW(RunConvert(model, dir.File("out.md3"), err), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.md3")));
}

// An MDS model is baked and drawn posed by its own animation, and takes no other.
TEST(CliMDS, BakeAndRenderPoseItWithItsOwnAnimation) {
    TMDM squareMesh;
    TMDX squareAnim;
    testing_support::MakeSquarePair(squareMesh, squareAnim, {.bones = 3, .tags = 2});
    ScratchDir dir;
    const std::string model = dir.File("square.mds");
    ASSERT_TRUE(WriteMDS(AssembleMDS(squareMesh, squareAnim, 2), model));

    const CliOutcome baked = RunCli(dir, "bake " + model + " " + dir.File("out.md3"));
    ASSERT_EQ(baked.exitCode, 0) << baked.err;
    TMD3 md3;
    ASSERT_TRUE(md3.LoadFromFile(dir.File("out.md3"))) << md3.LastError();
    EXPECT_EQ(md3.header.numFrames, 3);
    EXPECT_EQ(md3.header.numTags, 2);
    EXPECT_EQ(RunCli(dir, "bake " + dir.File("out.md3") + " " + dir.File("again.md3")).exitCode, 2);
#if VELDRA_CLI_HAS_RENDER
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR";
    const CliOutcome drawn =
        RunCli(dir, "render " + model + " " + dir.File("s.png") + " --size 64x64", noDisplay);
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("s.png")));
    const CliOutcome twice =
        RunCli(dir, "render " + model + " " + dir.File("t.png") + " --mdx " + dir.File("x.mdx"),
               noDisplay);
    EXPECT_EQ(twice.exitCode, 2) << twice.err;
#endif
}

}  // namespace
