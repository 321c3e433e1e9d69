// veldra-cli on MDS models: info describes one, convert writes the MDM and the MDX beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "io/user_prompts.h"
#include "mds_writer.h"
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

}  // namespace
