// veldra-cli lod: the engineer's mesh gets walkable collapse maps, the report names each
// surface's vertex count and LOD minimum, and a wrong output format writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/lod_command.h"
#include "io/user_prompts.h"
#include "lod/collapse_map.h"
#include "run_cli.h"
#include "support/test_files.h"

namespace {

using testing_support::SampleDir;
using testing_support::ScratchDir;

TEST(CliLod, WritesTheMeshWithLodDataAndReportsEachSurface) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    const std::string mesh = (SampleDir("mdm") / "allied_engineer_body.mdm").string();
    const std::string anim = (SampleDir("mdx") / "mortar.mdx").string();  // 31 frames
    const CliOutcome run =
        RunCli(dir, "lod " + mesh + " " + anim + " " + dir.File("out.mdm") + " --json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(",\"frame\":0,\"surfaces\":"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"surfaceList\":[{\"name\":\"u_body\",\"vertices\":"),
              std::string::npos)
        << run.out;

    AnswerYesPrompts yes;
    TMDM written;
    ASSERT_TRUE(written.LoadFromFile(dir.File("out.mdm"), yes)) << written.LastError();
    EXPECT_TRUE(written.HasLodData());
    EXPECT_EQ(CollapseMapProblem(written), "");
    for (const TMDMSurface& s : written.surfaces) {
        EXPECT_NE(run.out.find("\"vertices\":" + std::to_string(s.numVerts) +
                               ",\"minLod\":" + std::to_string(s.minLod) + "}"),
                  std::string::npos);
    }

    // A frame the user names is meant as given: past the animation it is refused.
    EXPECT_EQ(RunCli(dir, "lod " + mesh + " " + anim + " " + dir.File("far.mdm") + " --frame 31")
                  .exitCode,
              2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("far.mdm")));

    TLodArguments wrong{mesh, anim, dir.File("out.md3"), 0, false, false};
    std::ostringstream out, err;
    EXPECT_THROW(RunLod(wrong, out, err), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.md3")));
}

}  // namespace
