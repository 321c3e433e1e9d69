// veldra-cli on player models: info, convert, bake and edit of MDM, MDX and .aninc files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/convert_command.h"
#include "cli/edit_command.h"
#include "cli/info_command.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "run_cli.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::SampleDir;
using testing_support::ScratchDir;

std::string Sample(const char* format, const char* name) {
    return (SampleDir(format) / name).string();
}

// The engineer's mesh, and the body animation with its list copied side by side.
struct EngineerFiles {
    std::string mesh, anim;
    explicit EngineerFiles(const ScratchDir& dir) {
        mesh = Sample("mdm", "allied_engineer_body.mdm");
        anim = dir.File("body.mdx");
        std::filesystem::copy_file(Sample("mdx", "body.mdx"), anim);
        std::filesystem::copy_file(Sample("aninc", "body.aninc"), dir.File("body.aninc"));
    }
};

TEST(CliSkeletal, InfoDescribesMeshesAnimationsAndLists) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    std::ostringstream out, err;
    ASSERT_EQ(RunInfo({Sample("mdm", "allied_engineer_body.mdm"), Sample("mdx", "body.mdx"),
                       Sample("aninc", "body.aninc")},
                      true, out, err),
              0)
        << err.str();
    const std::string json = out.str();
    for (const char* piece :
         {"{\"format\":\"mdm\"", "\"name\":\"u_lfthand\",\"shader\":\"\",\"minLod\":108,",
          "\"vertices\":145,\"triangles\":194,\"weights\":145,", "\"tags\":17,",
          "{\"name\":\"tag_weapon\",\"bone\":29,", "{\"format\":\"mdx\"", "\"frames\":4887,",
          "{\"name\":\"Bip01 Head\",\"parent\":5,\"parentName\":\"Bip01 Neck\",",
          "{\"format\":\"aninc\"", "\"animations\":194,",
          "{\"name\":\"death_rifle_head_2\",\"firstFrame\":33,\"numFrames\":52,"}) {
        EXPECT_NE(json.find(piece), std::string::npos) << piece;
    }
}

TEST(CliSkeletal, ConvertCopiesMeshesAndAnimationsByteForByte) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    ASSERT_EQ(RunConvert(Sample("mdm", "naked.mdm"), dir.File("copy.MDM")), 0);
    EXPECT_EQ(ReadBytes(dir.File("copy.MDM")), ReadBytes(Sample("mdm", "naked.mdm")));
    ASSERT_EQ(RunConvert(Sample("mdx", "mortar.mdx"), dir.File("copy.mdx")), 0);
    EXPECT_EQ(ReadBytes(dir.File("copy.mdx")), ReadBytes(Sample("mdx", "mortar.mdx")));
    EXPECT_THROW(RunConvert(Sample("mdm", "naked.mdm"), dir.File("naked.md3")), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.File("naked.md3")));
}

TEST(CliSkeletal, BakeWritesTheChosenFrames) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    const EngineerFiles files(dir);
    const std::string pair = files.mesh + " " + files.anim + " ";
    struct Case {
        std::string options;
        int frames;
    };
    // "revive" is entry 10 of the list: 47 frames from 320.
    for (const Case& c :
         {Case{"--frames 5-5", 1}, Case{"--frames 10-19", 10}, Case{"--anim-name revive", 47}}) {
        const CliOutcome run = RunCli(dir, "bake " + pair + dir.File("out.md3") + " " + c.options);
        ASSERT_EQ(run.exitCode, 0) << c.options << ": " << run.err;
        // stderr is a file here, not a terminal: no progress line, only the warning that the
        // game's MD3 loader keeps 16 tags.
        EXPECT_EQ(run.err, "veldra-cli: warning: \"" + dir.File("out.md3") +
                               "\": 17 tags per frame, more than the 16 of the game's MD3 "
                               "limit\n");
        TMD3 md3;
        ASSERT_TRUE(md3.LoadFromFile(dir.File("out.md3"))) << md3.LastError();
        EXPECT_EQ(md3.header.numFrames, c.frames) << c.options;
        EXPECT_EQ(md3.header.numTags, 17);
    }
    TMDX anim;
    ASSERT_TRUE(anim.LoadFromFile(files.anim));
    TMD3 md3;
    ASSERT_EQ(RunCli(dir, "bake " + pair + dir.File("five.md3") + " --frames 5").exitCode, 0);
    ASSERT_TRUE(md3.LoadFromFile(dir.File("five.md3")));
    EXPECT_EQ(md3.header.frames[0].maxBounds, anim.frames[5].maxBounds);
    EXPECT_EQ(md3.header.frames[0].radius, anim.frames[5].radius);

    const std::pair<std::string, int> failures[] = {{"--frames 4000-4887", 1},
                                                    {"--anim-name no_such_thing", 1},
                                                    {"--frames 7-x", 2},
                                                    {"--frames 5-3", 2},  // reversed
                                                    {"--frames 1 --anim-name revive", 2}};
    for (const auto& [options, code] : failures) {
        const CliOutcome run = RunCli(dir, "bake " + pair + dir.File("bad.md3") + " " + options);
        EXPECT_EQ(run.exitCode, code) << options;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.md3")));
}

TEST(CliSkeletal, BakeWritesTheSkinsShadersAndWarnsPastTheGamesLimits) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    const EngineerFiles files(dir);
    std::ofstream(dir.File("hand.skin"))
        << "// md3_back, not a surface\nU_LftHand, models/x/hand.tga\n";
    const std::string bake = "bake " + files.mesh + " " + files.anim + " " + dir.File("out.md3");
    const CliOutcome run = RunCli(dir, bake + " --frames 0-1100 --skin " + dir.File("hand.skin"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    TMD3 md3;
    ASSERT_TRUE(md3.LoadFromFile(dir.File("out.md3")));
    TMDM mesh;
    AnswerYesPrompts yes;
    ASSERT_TRUE(mesh.LoadFromFile(files.mesh, yes));
    for (int s = 0; s < md3.header.numSurfaces; ++s) {
        const std::string name = NameFieldText(md3.header.surfaces[s].name);
        const std::string shader = NameFieldText(md3.header.surfaces[s].shaders[0].name);
        // The other surfaces keep the mesh's shader, and the skin's silence is reported.
        const bool named = name == "u_lfthand";
        EXPECT_EQ(shader, named ? "models/x/hand.tga" : NameFieldText(mesh.surfaces[s].shader));
        EXPECT_EQ(run.err.find("no shader for surface \"" + name + "\"") != std::string::npos,
                  !named)
            << name;
    }
    EXPECT_NE(run.err.find("1101 frames, more than the 1024 of the game's MD3 limit"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("17 tags per frame"), std::string::npos);
    EXPECT_EQ(RunCli(dir, bake + " --skin " + dir.File("none.skin")).exitCode, 1);
}

TEST(CliSkeletal, MeshesThatDoNotFitTheAnimationAreRefused) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    TMDM mesh;
    AnswerYesPrompts yes;
    ASSERT_TRUE(mesh.LoadFromFile(Sample("mdm", "naked.mdm"), yes));
    mesh.surfaces[2].vertices[7].weights[0].boneIndex = 60;
    ASSERT_TRUE(mesh.SaveToFile(dir.File("bad.mdm")));
    const CliOutcome run = RunCli(dir, "bake " + dir.File("bad.mdm") + " " +
                                           Sample("mdx", "mortar.mdx") + " " + dir.File("x.md3"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("bad.mdm\" with \"" + Sample("mdx", "mortar.mdx") +
                           "\": surface 2 (\"l_legs\"), vertex 7: bone index 60 outside the "
                           "animation's 53 bones"),
              std::string::npos)
        << run.err;
}

TEST(CliSkeletal, LimitQuestionsAreAnsweredYesWithAWarning) {
    ScratchDir dir;
    TMDM mesh;
    std::memcpy(mesh.header.ident, kMDMIdent, 4);
    mesh.surfaces.resize(33);
    mesh.header.numSurfaces = 33;
    ASSERT_TRUE(mesh.SaveToFile(dir.File("many.mdm")));
    const CliOutcome run = RunCli(dir, "info " + dir.File("many.mdm"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "veldra-cli: warning: \"" + dir.File("many.mdm") +
                           "\": MAX_SURFACES limit exceeded: 33 > 32 Continue loading?.. Yes\n");
    EXPECT_NE(run.out.find("Surfaces: 33"), std::string::npos);
}

TEST(CliSkeletal, EditsOfMeshesAndAnimations) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    ScratchDir dir;
    const EngineerFiles files(dir);
    std::ostringstream warnings;
    ASSERT_EQ(RunEdit(files.mesh, dir.File("half.mdm"),
                      {{"--mdx", files.anim},
                       {"--scale-weights", "0.5"},
                       {"--smooth", "2"},
                       {"--remove-surface", "1"}},
                      warnings),
              0);
    TMDM original, half;
    AnswerYesPrompts yes;
    ASSERT_TRUE(original.LoadFromFile(files.mesh, yes));
    ASSERT_TRUE(half.LoadFromFile(dir.File("half.mdm"), yes));
    EXPECT_EQ(half.surfaces[0].vertices[9].weights[0].boneWeight,
              original.surfaces[0].vertices[9].weights[0].boneWeight * 0.5f);
    // Surface 1 is gone and the later ones moved up.
    ASSERT_EQ(half.header.numSurfaces, original.header.numSurfaces - 1);
    EXPECT_EQ(NameFieldText(half.surfaces[1].name), NameFieldText(original.surfaces[2].name));

    ASSERT_EQ(RunEdit(files.anim, dir.File("named.mdx"), {{"--default-bone-names", ""}}, warnings),
              0);
    TMDX named;
    ASSERT_TRUE(named.LoadFromFile(dir.File("named.mdx")));
    EXPECT_EQ(NameFieldText(named.bones[47].name), "Bip01 L Foot");

    const std::vector<EditOperation> refused[] = {
        {{"--smooth", "0"}},                                    // nothing poses the mesh
        {{"--mirror", "x"}},                                    // an MD3 edit
        {{"--mdx", files.anim}, {"--recalc-normals-at", "x"}},  // not a frame
        {{"--remove-surface", "4"}},                            // the mesh has 4 surfaces
    };
    for (const auto& ops : refused)
        EXPECT_THROW(RunEdit(files.mesh, dir.File("no.mdm"), ops, warnings), std::exception);
    EXPECT_THROW(RunEdit(files.mesh, dir.File("no.md3"), {}, warnings), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.File("no.mdm")));
}

}  // namespace
