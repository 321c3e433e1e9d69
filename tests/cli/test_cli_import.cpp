// veldra-cli convert with the importers: no questions, refusals as errors.
#include <gtest/gtest.h>

#include <fstream>

#include "import/gltf_builder.h"
#include "md3/md3.h"
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
                               "511 (--scale-to-fit scales it down)\n");
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
    // A model with joints converts in its bind pose and says so.
    EXPECT_EQ(joints.exitCode, 0) << joints.err;
    EXPECT_NE(joints.err.find("9 joints ignored"), std::string::npos) << joints.err;
}

TEST(CliImport, NothingToConvertExitsOneAndSplitsOnRequest) {
    ScratchDir dir;
    const std::string tool =
        "*3DSMAX_ASCIIEXPORT\t200\n*MATERIAL_LIST {\n*MATERIAL 0 {\n*MATERIAL_NAME \"c\"\n"
        "*BITMAP \"textures/common/clip.tga\"\n}\n}\n*GEOMOBJECT {\n*MESH {\n"
        "*MESH_VERTEX_LIST {\n*MESH_VERTEX\t0\t1\t0\t0\n*MESH_VERTEX\t1\t0\t1\t0\n"
        "*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n*MESH_FACE 0: A: 0 B: 1 C: 2 "
        "*MESH_MTLID 0\n}\n}\n}\n";
    std::ofstream(dir.File("tool.ase")) << tool;
    const CliOutcome r = RunCli(dir, "convert " + dir.File("tool.ase") + " " + dir.File("o.md3"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "veldra-cli: Cannot convert \"" + dir.File("tool.ase") +
                         "\": no triangles to convert (1 face of tool materials (common/, "
                         "noshader, NULL) left out)\n");

    if (testing_support::SampleDir("ase").empty()) GTEST_SKIP() << "no samples";
    const std::string rifle = (testing_support::SampleDir("ase") / "Rifle.ase").string();
    const std::string out = dir.File("rifle.md3");
    EXPECT_EQ(RunCli(dir, "convert " + rifle + " " + out).exitCode, 1);
    const CliOutcome split = RunCli(dir, "convert --split-surfaces " + rifle + " " + out);
    EXPECT_EQ(split.exitCode, 0) << split.err;
    const CliOutcome info = RunCli(dir, "info --json " + out);
    EXPECT_NE(info.out.find("\"surfaces\":2"), std::string::npos) << info.out;
}

}  // namespace

TEST(CliImport, ScaleUpAndShaderPrefixShapeTheModel) {
    if (testing_support::SampleDir("ms3d").empty()) GTEST_SKIP() << "no samples";
    ScratchDir dir;
    const std::string wuson = (testing_support::SampleDir("ms3d") / "Wuson.ms3d").string();
    const std::string out = dir.File("w.md3");
    // 1.6 units tall: the 1/64 grid eats triangles unless the model is scaled up first.
    const CliOutcome small = RunCli(dir, "convert --split-surfaces " + wuson + " " + out);
    EXPECT_EQ(small.exitCode, 0) << small.err;
    EXPECT_EQ(small.err, "veldra-cli: warning: " + wuson +
                             ": 134 triangles too small for the 1/64-unit grid of stored "
                             "positions left out\n");
    const std::string lying = dir.File("lying.md3");
    ASSERT_EQ(RunCli(dir, "convert --split-surfaces --scale 40 " + wuson + " " + lying).exitCode,
              0);
    const CliOutcome scaled =
        RunCli(dir, "convert --split-surfaces --scale 40 --up y --shader-prefix models/w " + wuson +
                        " " + out);
    EXPECT_EQ(scaled.exitCode, 0) << scaled.err;
    EXPECT_EQ(scaled.err, "");
    TMD3 model, before;
    ASSERT_TRUE(model.LoadFromFile(out));
    ASSERT_TRUE(before.LoadFromFile(lying));
    int triangles = 0;
    for (const TSurface& s : model.header.surfaces)
        triangles += s.numTriangles;
    EXPECT_EQ(triangles, 3732);
    // Stood up: what MilkShape had along y is along z.
    const TMD3Frame& f = model.header.frames[0];
    const TMD3Frame& g = before.header.frames[0];
    EXPECT_FLOAT_EQ(f.maxBounds.z, g.maxBounds.y);
    EXPECT_FLOAT_EQ(f.minBounds.y, -g.maxBounds.z);

    for (const char* bad : {"--up x", "--scale 0", "--scale -2"})
        EXPECT_EQ(RunCli(dir, std::string("convert ") + bad + " " + wuson + " " + out).exitCode, 2)
            << bad;
}

// A glTF model: frames chosen by range and animation name, a skin written as MDM with its MDX,
// and the options that do not fit refused.
TEST(CliImport, GltfBecomesMD3FramesOrAnMDMWithItsMDX) {
    ScratchDir dir;
    GltfBuilder b;
    const int joint = b.Node("Bip01");
    const int positions = b.Floats({0, 0, 0, 0, 0, 4, 4, 0, 0}, TINYGLTF_TYPE_VEC3);
    const int joints = b.Accessor(std::vector<float>(12, 0), TINYGLTF_TYPE_VEC4,
                                  TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
    const int weights = b.Floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, TINYGLTF_TYPE_VEC4);
    const int node = b.Node(
        "plate", -1,
        b.Mesh("plate", {{"POSITION", positions}, {"JOINTS_0", joints}, {"WEIGHTS_0", weights}}));
    tinygltf::Skin skin;
    skin.joints = {joint};
    b.model.skins.push_back(skin);
    b.model.nodes[static_cast<std::size_t>(node)].skin = 0;
    b.Channel(0, joint, "translation", {0, 0.5f}, {0, 0, 0, 0, 8, 0}, TINYGLTF_TYPE_VEC3);
    b.model.animations[0].name = "rise";
    testing_support::WriteBytes(dir.File("in.glb"), b.Bytes());
    const std::string in = dir.File("in.glb");

    struct Case {
        std::string args;
        int exitCode;
        const char* error;  // part of stderr
    };
    const Case cases[] = {
        {"convert " + in + " " + dir.File("o.md3") + " --anim-name rise --frames 2-4", 0, ""},
        {"convert " + in + " " + dir.File("p.mdm") + " --mdx " + dir.File("p.mdx"), 0, ""},
        {"convert " + in + " " + dir.File("q.mdm"), 2, "an MDM needs its animation: --mdx OUT.mdx"},
        {"convert " + in + " " + dir.File("q.md3") + " --up y", 2, "glTF is always Y-up"},
        {"convert " + in + " " + dir.File("q.md3") + " --anim-name walk", 1,
         "no animation is named \"walk\" (the file has \"rise\")"},
        {"convert " + in + " " + dir.File("q.md3") + " --frames 5-20", 1,
         "frames 5-20 are not among the 11 frames"},
        {"convert " + dir.File("o.md3") + " " + dir.File("q.md3") + " --frames 1-2", 2,
         "apply to glTF models only"},
    };
    for (const Case& c : cases) {
        const CliOutcome o = RunCli(dir, c.args);
        EXPECT_EQ(o.exitCode, c.exitCode) << c.args << "\n" << o.err;
        EXPECT_NE(o.err.find(c.error), std::string::npos) << o.err;
    }
    TMD3 md3;
    ASSERT_TRUE(md3.LoadFromFile(dir.File("o.md3")));
    EXPECT_EQ(md3.header.numFrames, 3);
    // Frame 2 of the rise is 0.1 seconds in: 1.6 units up.
    EXPECT_EQ(md3.header.surfaces[0].vertices[0].z, 102);
    EXPECT_EQ(RunCli(dir, "info " + dir.File("p.mdm")).exitCode, 0);
    EXPECT_EQ(RunCli(dir, "info " + dir.File("p.mdx")).exitCode, 0);
}
