// veldra-cli edit: operations in command-line order, and failures that name the file and
// leave OUT alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "cli/cli_error.h"
#include "cli/edit_command.h"
#include "cli/edit_values.h"
#include "cli/item_argument.h"
#include "io/file_error.h"
#include "md3/md3.h"
#include "md3/md3_input.h"
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

TEST(CliEdit, TagsAreAddedRenamedMovedAndRemovedByNameOrIndex) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 1, .frames = 1, .tags = 2});
    const std::string out = dir.File("out.md3");
    std::ostringstream warnings;
    ASSERT_EQ(RunEdit(in, out,
                      {{"--add-tag", "a:b:1,2,3:1,0,0:0,1,0:0,0,1"},
                       {"--rename-tag", "a:b:c:d"},
                       {"--move-tag", "c:d:0"},
                       {"--remove-tag", "1"},
                       {"--rename-tag", "tag_1:tag:weapon"},
                       {"--set-shader", "0:"}},
                      warnings),
              0);
    const TMD3 model = Load(out);
    ASSERT_EQ(model.header.numTags, 2);
    EXPECT_EQ(NameFieldText(model.header.tags[0].name), "c:d");
    EXPECT_EQ(model.header.tags[0].origin, (TVector3{1, 2, 3}));
    EXPECT_EQ(NameFieldText(model.header.tags[1].name), "tag:weapon");
    // A surface whose shader the skin gives.
    EXPECT_EQ(NameFieldText(model.header.surfaces[0].shaders[0].name), "");
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
    const std::string none = SaveModel(dir, "none.md3", {.surfaces = 0, .frames = 0, .tags = 0});
    const std::string out = dir.File("out.md3");
    const std::string absent = dir.File("absent.md3");
    WriteBytes(out, std::vector<std::uint8_t>(4, 2));
    WriteBytes(dir.File("t.tag"), ReadBytes(in));  // not a tag file

    struct Case {
        std::string model;
        std::vector<EditOperation> ops;
        std::string reason;
        bool usage;  // wrong whatever the model: checked before IN is read
    };
    const std::string tag = "a:1,2,3:1,0,0:0,1,0:0,0,1";
    const Case cases[] = {
        {in, {{"--delete-frame", "2"}}, "the model has no frame 2 (it has 2)", false},
        {in, {{"--delete-frame", "1"}, {"--delete-frame", "0"}}, "only frame", false},
        {none, {{"--delete-frame", "0"}}, "the model has no frames", false},
        {in, {{"--delete-frame", "-1"}}, "negative", true},
        {in, {{"--remove-surface", "2"}}, "no surface 2", false},
        {in, {{"--scale", "2"}, {"--smooth", "x"}}, "not a whole number", true},
        {in, {{"--weld", "0"}}, "N:DISTANCE", true},
        {in, {{"--rotate", "z:ten"}}, "\"ten\" is not a number", true},
        {in, {{"--mirror", "w"}}, "not an axis", true},
        {in, {{"--tags-swap", "xx"}}, "not a pair of axes", true},
        {in, {{"--origin-to-tag", "tag_9"}}, "no tag \"tag_9\"", false},
        {in, {{"--tags-from", dir.File("t.tag")}}, kTagsNeedOneFrameText, false},
        {in, {{"--add-tag", tag}}, kTagsNeedOneFrameText, false},
        {in, {{"--add-tag", "a:1,2,3:1,0,0:0,abc,0:0,0,1"}}, kInputConversionErrorText, true},
        {one, {{"--tags-from", dir.File("t.tag")}}, "TAG3", false},
        {one, {{"--tags-from", dir.File("absent.tag")}}, "Cannot open file", false},
        {one, {{"--save-tags", dir.File("none.tag")}}, "no tags", false},
        {in, {{"--save-tags", dir.File("tags.md3")}}, "must end in .tag", true},
        {in, {{"--append-frame", other}}, "Number of tags not equal: other.md3", false},
        {in, {{"--append-frames", one}}, "Number of tags not equal: one.md3", false},
        {in, {{"--append-frame", absent}}, "Cannot open file \"" + absent + "\"", false},
        {in, {{"--set-shader", "9:x"}}, "no surface 9 (it has 2)", false},
        {in, {{"--set-shader", "x"}}, "SURFACE:NAME", true},
        {in, {{"--rename-surface", ":x"}}, "SURFACE:NAME", true},
        {in, {{"--rename-surface", "0:"}}, "the new name is empty", false},
        {in, {{"--remove-tag", "tag_9"}}, "no tag \"tag_9\" (it has 1)", false},
        {in, {{"--rename-tag", "tag_0:"}}, "the new name is empty", false},
        {in, {{"--rename-tag", "tag_0"}}, "TAG:NAME", true},
        {in, {{"--move-tag", "tag_0"}}, "TAG:N", true},
        {in,
         {{"--move-tag", "tag_0:1"}},
         "place 1 is past the last tag (the model has 1 tag)",
         false},
    };
    for (const Case& c : cases) {
        std::ostringstream warnings;
        try {
            RunEdit(c.model, out, c.ops, warnings);
            ADD_FAILURE() << c.reason << ": no failure";
        } catch (const CliError& e) {
            const std::string text = e.what();
            EXPECT_EQ(text.rfind("Cannot edit \"" + c.model + "\": " + c.ops.back().option, 0), 0u)
                << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
            EXPECT_EQ(dynamic_cast<const UsageError*>(&e) != nullptr, c.usage) << text;
        }
        EXPECT_EQ(ReadBytes(out), std::vector<std::uint8_t>(4, 2)) << c.reason;
    }
    std::ostringstream warnings;
    EXPECT_THROW(RunEdit(one, dir.File("out.txt"), {}, warnings), UsageError);
    EXPECT_THROW(RunEdit(absent, out, {}, warnings), FileError);
    EXPECT_EQ(ReadBytes(out), std::vector<std::uint8_t>(4, 2));
}

TEST(CliEdit, SurfacesByIndexOrByNameWithColonsInEitherName) {
    TMD3 model;
    MakeModel(model, {.surfaces = 5, .frames = 1, .tags = 0});
    const char* names[] = {"body", "a:b", "a", "twin", "twin"};
    for (int s = 0; s < 5; ++s)
        SetName64(names[s], model.header.surfaces[static_cast<std::size_t>(s)].name);
    const std::string longName(64, 'n');
    struct Case {
        std::string value;
        int surface;  // -1: refused with `expected` as the reason
        std::string expected;
    };
    const Case cases[] = {
        {"0:models\\weapons\\x", 0, "models\\weapons\\x"},
        {"body:textures/x:y", 0, "textures/x:y"},
        {"a:x", 2, "x"},
        {"4:a:b", 4, "a:b"},
        {"a:b:new", -1, "more than one surface"},
        {"twin:x", -1, "more than one surface"},
        {"5:x", -1, "no surface 5 (it has 5)"},
        {"nope:x", -1, "no surface \"nope\""},
        {"body:", -1, "empty"},
        {"body:" + longName, -1, "longer than 63 characters"},
    };
    for (const Case& c : cases) {
        try {
            const SurfaceAndName result = ResolveSurfaceAndName(model, c.value);
            EXPECT_EQ(result.surface, c.surface) << c.value;
            EXPECT_EQ(result.name, c.expected) << c.value;
        } catch (const OperationError& e) {
            EXPECT_EQ(c.surface, -1) << c.value << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
    // An empty shader name leaves the surface to the skin.
    EXPECT_EQ(ResolveSurfaceAndName(model, "body:", true).name, "");
}

TEST(CliEdit, FilesChangeOnlyWhenTheWholeCommandSucceeds) {
    ScratchDir dir;
    const std::string in = SaveModel(dir, "in.md3", {.surfaces = 1, .frames = 1, .tags = 1});
    const std::string out = dir.File("out.md3"), tag = dir.File("a.tag");
    const std::vector<std::uint8_t> model = ReadBytes(in), oldOut(3, 7), oldTag(5, 9);
    WriteBytes(out, oldOut);
    WriteBytes(tag, oldTag);
    std::filesystem::create_symlink(in, dir.File("link.tag"));

    const std::pair<std::string, int> cases[] = {
        {in + " " + out + " --save-tags " + tag + " --delete-frame 3", 1},
        {in + " " + out + " --save-tags " + tag + " --rotate z:ten", 2},
        {in + " " + out + " --save-tags " + in, 2},
        {in + " " + out + " --save-tags " + dir.File("link.tag"), 2},
        {in + " " + dir.File("no/such/out.md3") + " --save-tags " + tag, 1},
        {in + " " + out + " --save-tags " + dir.File("no/such/b.tag"), 1},
    };
    for (const auto& [args, exitCode] : cases) {
        std::string err;
        EXPECT_EQ(RunProgram("edit " + args, err, dir), exitCode) << args;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(ReadBytes(in), model) << args;
        EXPECT_EQ(ReadBytes(out), oldOut) << args;
        EXPECT_EQ(ReadBytes(tag), oldTag) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));

    std::string err;
    ASSERT_EQ(RunProgram("edit " + in + " " + out + " --save-tags " + tag + " --rename-surface " +
                             "0:body --set-shader body:models\\\\x",
                         err, dir),
              0)
        << err;
    const TMD3 edited = Load(out);
    EXPECT_EQ(NameFieldText(edited.header.surfaces[0].name), "body");
    EXPECT_EQ(NameFieldText(edited.header.surfaces[0].shaders[0].name), "models\\x");
    EXPECT_EQ(ReadBytes(tag).size(), 16u + 112);
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
