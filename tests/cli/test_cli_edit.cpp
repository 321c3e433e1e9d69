// veldra-cli edit: operations in command-line order, and failures that name the file and
// leave OUT alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

#include "cli/edit_command.h"
#include "io/file_error.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

std::string SaveModel(const ScratchDir& dir, const std::string& name, const ModelShape& shape) {
    TMD3 model;
    MakeModel(model, shape);
    const std::string path = dir.File(name);
    EXPECT_TRUE(model.SaveToFile(path));
    return path;
}

TMD3 Load(const std::string& path) {
    TMD3 model;
    EXPECT_TRUE(model.LoadFromFile(path)) << model.LastError();
    return model;
}

int RunProgram(const std::string& args, std::string& err, const ScratchDir& dir) {
    const std::string command =
        std::string(VELDRA_CLI_PATH) + " " + args + " 2>" + dir.File("stderr.txt");
    const int status = std::system(command.c_str());
    const auto bytes = ReadBytes(dir.File("stderr.txt"));
    err.assign(bytes.begin(), bytes.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliEdit, OperationsRunInCommandLineOrder) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 1, .frames = 1, .tags = 1});
    const std::string tag = "t:1,2,3:1,0,0:0,1,0:0,0,1";
    std::string err;
    ASSERT_EQ(RunProgram("edit " + in + " " + dir.File("a.md3") + " --add-tag " + tag +
                             " --save-tags " + dir.File("a.tag") + " --scale 2 --save-tags " +
                             dir.File("b.tag") + " --tags-swap xy --tags-swap xy",
                         err, dir),
              0)
        << err;
    EXPECT_EQ(err, "");
    ASSERT_EQ(RunProgram("edit " + in + " " + dir.File("b.md3") + " --save-tags " +
                             dir.File("c.tag") + " --add-tag " + tag,
                         err, dir),
              0)
        << err;
    EXPECT_EQ(ReadBytes(dir.File("a.tag")).size(), 16u + 2 * 112);
    EXPECT_EQ(ReadBytes(dir.File("c.tag")).size(), 16u + 112);
    // The second save came after the scale.
    TMD3 fromA = Load(in), fromB = Load(in);
    ASSERT_TRUE(fromA.LoadTagsFromFile(dir.File("a.tag")));
    ASSERT_TRUE(fromB.LoadTagsFromFile(dir.File("b.tag")));
    EXPECT_EQ(fromA.header.tags[2].origin, (TVector3{1, 2, 3}));
    EXPECT_EQ(fromB.header.tags[2].origin, (TVector3{2, 4, 6}));
    EXPECT_EQ(Load(dir.File("a.md3")).header.tags[1].axis[0], kVectorPosX);
}

TEST(CliEdit, AppliesTheModelOperations) {
    ScratchDir dir;
    const std::string in =
        SaveModel(dir, "in.md3", {.surfaces = 3, .vertsPerSurface = 32, .frames = 2, .tags = 1});
    const std::string out = dir.File("out.md3");
    std::ostringstream warnings;
    ASSERT_EQ(RunEdit(in, out,
                      {{"--append-frames", in},
                       {"--delete-frame", "0"},
                       {"--remove-surface", "2"},
                       {"--weld", "0:0.5"},
                       {"--smooth", "1"},
                       {"--recalc-normals", ""},
                       {"--compact", ""},
                       {"--origin-to-tag", "tag_0"},
                       {"--rotate", "z:-90"},
                       {"--mirror", "y"}},
                      warnings),
              0);
    EXPECT_EQ(warnings.str(), "");
    const TMD3 model = Load(out);
    EXPECT_EQ(model.header.numFrames, 3);
    EXPECT_EQ(NameFieldText(model.header.frames[2].name), "K merged");
    EXPECT_EQ(model.header.numSurfaces, 2);
    for (const TMD3Tag& t : {model.header.tags[0], model.header.tags[2]})
        EXPECT_TRUE(VectorEqualEps(t.origin, kVectorZero, 1e-6f));
}

TEST(CliEdit, ClampedCoordinatesAreReportedButSaved) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 1, .frames = 1, .tags = 1});
    std::ostringstream warnings;
    ASSERT_EQ(RunEdit(in, dir.File("out.md3"), {{"--scale", "100"}}, warnings), 0);
    EXPECT_NE(warnings.str().find("--scale 100: "), std::string::npos) << warnings.str();
    EXPECT_NE(warnings.str().find("clamped to the 16-bit range"), std::string::npos);
}

TEST(CliEdit, FailuresNameTheFileAndTheReasonAndLeaveOutAlone) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 2, .frames = 2, .tags = 1});
    const std::string one = SaveModel(dir, "one.md3", {.surfaces = 1, .frames = 1, .tags = 0});
    const std::string other = SaveModel(dir, "other.md3", {.surfaces = 2, .frames = 1, .tags = 2});
    const std::string out = dir.File("out.md3");
    WriteBytes(out, std::vector<std::uint8_t>(4, 2));
    WriteBytes(dir.File("t.tag"), ReadBytes(in));  // not a tag file

    const std::vector<std::pair<std::vector<EditOperation>, std::string>> cases = {
        {{{"--delete-frame", "2"}}, "the model has no frame 2"},
        {{{"--delete-frame", "1"}, {"--delete-frame", "0"}}, "only frame"},
        {{{"--remove-surface", "2"}}, "no surface 2"},
        {{{"--smooth", "x"}}, "not a whole number"},
        {{{"--weld", "0"}}, "N:DISTANCE"},
        {{{"--rotate", "z:ten"}}, "\"ten\" is not a number"},
        {{{"--mirror", "w"}}, "not an axis"},
        {{{"--tags-swap", "xx"}}, "not a pair of axes"},
        {{{"--origin-to-tag", "tag_9"}}, "no tag \"tag_9\""},
        {{{"--tags-from", dir.File("t.tag")}}, kTagsNeedOneFrameText},
        {{{"--add-tag", "a:1,2,3:1,0,0:0,abc,0:0,0,1"}}, kTagsNeedOneFrameText},
        {{{"--append-frame", other}}, "Number of tags not equal: other.md3"},
        {{{"--append-frames", one}}, "Number of tags not equal: one.md3"},
    };
    for (const auto& [ops, reason] : cases) {
        std::ostringstream warnings;
        try {
            RunEdit(in, out, ops, warnings);
            ADD_FAILURE() << reason << ": no failure";
        } catch (const std::exception& e) {
            const std::string text = e.what();
            EXPECT_EQ(text.rfind("Cannot edit \"" + in + "\": " + ops.back().option, 0), 0u)
                << text;
            EXPECT_NE(text.find(reason), std::string::npos) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        }
        EXPECT_EQ(ReadBytes(out), std::vector<std::uint8_t>(4, 2)) << reason;
    }

    std::ostringstream warnings;
    auto failure = [&](const std::string& model, std::vector<EditOperation> ops) {
        try {
            RunEdit(model, out, ops, warnings);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_NE(failure(one, {{"--add-tag", "a:1,2,3:1,0,0:0,abc,0:0,0,1"}})
                  .find("Error converting user-input data"),
              std::string::npos);
    EXPECT_NE(failure(one, {{"--tags-from", dir.File("t.tag")}}).find("TAG3"), std::string::npos);
    EXPECT_NE(failure(one, {{"--save-tags", dir.File("none.tag")}}).find("no tags"),
              std::string::npos);
    EXPECT_THROW(RunEdit(one, out, {{"--tags-from", dir.File("absent.tag")}}, warnings), FileError);
    EXPECT_THROW(RunEdit(one, dir.File("out.txt"), {}, warnings), std::exception);
    EXPECT_EQ(ReadBytes(out), std::vector<std::uint8_t>(4, 2));
}

TEST(CliEdit, ProgramPrintsOneLineAndExitsOne) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 1, .frames = 2, .tags = 1});
    WriteBytes(dir.File("keep.md3"), std::vector<std::uint8_t>(3, 7));
    std::string err;
    EXPECT_EQ(RunProgram("edit " + in + " " + dir.File("keep.md3") + " --scale 2 --delete-frame 9",
                         err, dir),
              1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(in), std::string::npos) << err;
    EXPECT_EQ(ReadBytes(dir.File("keep.md3")), std::vector<std::uint8_t>(3, 7));
}

}  // namespace
