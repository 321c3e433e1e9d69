// veldra-cli convert with the importers: no questions, refusals as errors.
#include <gtest/gtest.h>

#include <fstream>

#include "run_cli.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

// One triangle reaching x = 1022: beyond what MD3 positions hold.
const char* kFarAse =
    "*3DSMAX_ASCIIEXPORT\t200\n*MATERIAL_LIST {\n*MATERIAL 0 {\n*MATERIAL_NAME \"w\"\n}\n}\n"
    "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n*MESH_VERTEX\t0\t1022\t0\t-10\n"
    "*MESH_VERTEX\t1\t0\t1\t0\n*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n"
    "*MESH_FACE 0: A: 0 B: 1 C: 2 *MESH_MTLID 0\n}\n}\n}\n";

TEST(CliImport, OutOfBoundsModelsNeedScaleToFit) {
    ScratchDir dir;
    std::ofstream(dir.File("far.ase")) << kFarAse;
    const std::string in = dir.File("far.ase");
    const std::string out = dir.File("far.md3");
    const CliOutcome refused = RunCli(dir, "convert " + in + " " + out);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "veldra-cli: Cannot convert \"" + in +
                               "\": ASE-model coordinates are exceeding the MD3 bounds: -511 to "
                               "511\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(RunCli(dir, "convert --scale-to-fit " + in + " " + out).exitCode, 0);
    const CliOutcome info = RunCli(dir, "info --json " + out);
    EXPECT_NE(info.out.find("\"triangles\":1"), std::string::npos) << info.out;
    EXPECT_EQ(RunCli(dir, "convert " + in + " " + dir.File("far.mdm")).exitCode, 2);
    // Options that would change nothing for this input are refused, not ignored.
    EXPECT_EQ(RunCli(dir, "convert --game " + dir.path().string() + " " + in + " " + out).exitCode,
              2);
    EXPECT_EQ(RunCli(dir, "convert --scale-to-fit " + out + " " + dir.File("again.md3")).exitCode,
              2);
}

TEST(CliImport, BrokenAndRefusedFilesExitOne) {
    ScratchDir dir;
    testing_support::WriteBytes(dir.File("junk.ms3d"), std::vector<std::uint8_t>(300, 0x41));
    testing_support::WriteBytes(dir.File("junk.ase"), std::vector<std::uint8_t>(300, 0x41));
    for (const char* name : {"junk.ms3d", "junk.ase"}) {
        const CliOutcome o = RunCli(dir, "convert " + dir.File(name) + " " + dir.File("o.md3"));
        EXPECT_EQ(o.exitCode, 1) << name;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    }
    if (testing_support::SampleDir("ms3d").empty()) GTEST_SKIP() << "no samples";
    const CliOutcome joints =
        RunCli(dir, "convert " + (testing_support::SampleDir("ms3d") / "cross.ms3d").string() +
                        " " + dir.File("o.md3"));
    EXPECT_EQ(joints.exitCode, 1);
    EXPECT_NE(joints.err.find("joints"), std::string::npos);
}

}  // namespace
