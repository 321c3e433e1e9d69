#include <gtest/gtest.h>

#include <sstream>

#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "cli/json_writer.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

std::string WriteCube(const ScratchDir& dir) {
    TMD3 cube;
    MakeCube(cube);
    const std::string path = dir.File("cube.md3");
    EXPECT_TRUE(cube.SaveToFile(path));
    return path;
}

TEST(CliInfo, JsonDescribesTheWholeModel) {
    ScratchDir dir;
    const std::string path = WriteCube(dir);
    std::ostringstream out, err;
    ASSERT_EQ(RunInfo({path}, true, out, err), 0);
    EXPECT_EQ(out.str(),
              "{\"format\":\"md3\",\"file\":\"" + path +
                  "\",\"name\":\"models/sample/cube.md3\",\"version\":15,\"flags\":0,"
                  "\"skins\":0,\"frames\":1,\"frameList\":[{\"name\":\"frame0\",\"minBounds\":"
                  "[-16,-16,-16],\"maxBounds\":[16,16,16],\"localOrigin\":[0,0,0],\"radius\":"
                  "27.712812}],\"tags\":1,\"tagNames\":[\"tag_top\"],\"tagList\":[{\"name\":"
                  "\"tag_top\",\"origin\":[0,0,16],\"axis\":[[1,0,0],[0,1,0],[0,0,1]]}],"
                  "\"surfaces\":1,\"surfaceList\":[{\"name\":\"cube\",\"flags\":0,"
                  "\"shaders\":[\"textures/sample/cube\"],\"vertices\":24,\"triangles\":12}]}\n");
}

TEST(CliInfo, TextListsFramesTagsAndSurfaces) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 32, .frames = 3, .tags = 2});
    ASSERT_TRUE(model.SaveToFile(dir.File("m.md3")));
    std::ostringstream out, err;
    ASSERT_EQ(RunInfo({dir.File("m.md3")}, false, out, err), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("Frames:   3"), std::string::npos) << text;
    EXPECT_NE(text.find("[2] \"frame2\""), std::string::npos) << text;
    EXPECT_NE(text.find("[1] \"tag_1\" origin (1, 0, 1)"), std::string::npos) << text;
    EXPECT_NE(text.find("[1] \"surface1\" flags 0, 32 vertices, 32 triangles"), std::string::npos)
        << text;
}

TEST(CliInfo, SeveralFilesTagFilesAndNamesAsStored) {
    ScratchDir dir;
    TMD3 model;
    MakeCube(model);
    SetName64("models\\mapobjects\\crate", model.header.surfaces[0].name);
    ASSERT_TRUE(model.SaveToFile(dir.File("cube.md3")));
    ASSERT_TRUE(model.SaveTagsToFile(dir.File("cube.tag")));
    std::ostringstream text, json, err;
    const std::vector<std::string> files = {dir.File("cube.md3"), dir.File("absent.md3"),
                                            dir.File("cube.tag")};
    EXPECT_EQ(RunInfo(files, false, text, err), 1);
    // Text shows names as stored, each file in its own block after a blank line.
    EXPECT_NE(text.str().find("[0] \"models\\mapobjects\\crate\""), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("\n\nFile:     " + dir.File("cube.tag") +
                              "\nFormat:   tag file (TAG3)\nTags:     1\n  [0] \"tag_top\""),
              std::string::npos)
        << text.str();
    EXPECT_EQ(err.str(), "veldra-cli: Cannot open file \"" + dir.File("absent.md3") +
                             "\". No such file or directory.\n");

    EXPECT_EQ(RunInfo(files, true, json, err), 1);
    const std::string j = json.str();
    EXPECT_EQ(j.front(), '[');
    EXPECT_EQ(j.substr(j.size() - 2), "]\n");
    EXPECT_NE(j.find("\"name\":\"models\\\\mapobjects\\\\crate\""), std::string::npos) << j;
    EXPECT_NE(j.find("},{\"file\":\"" + dir.File("absent.md3") + "\",\"error\":\"Cannot open"),
              std::string::npos)
        << j;
    EXPECT_NE(j.find("},{\"format\":\"tag\",\"file\":\"" + dir.File("cube.tag") +
                     "\",\"tags\":1,\"tagNames\":[\"tag_top\"]"),
              std::string::npos)
        << j;
}

TEST(CliJson, EscapesControlsAndKeepsEightBitNames) {
    EXPECT_EQ(JsonEscape("a\"b\\c\n\x01"), "a\\\"b\\\\c\\n\\u0001");
    EXPECT_EQ(JsonEscape("caf\xC3\xA9"), "caf\xC3\xA9");  // valid UTF-8 stays
    EXPECT_EQ(JsonEscape("caf\xE9"), "caf\\u00e9");       // Latin-1 byte
    EXPECT_EQ(JsonEscape("\xC3"), "\\u00c3");             // cut sequence
    std::ostringstream out;
    JsonWriter j(out);
    j.BeginArray();
    j.Float(0.1f);
    j.Float(1.0f / 0.0f);
    j.Int(-3);
    j.EndArray();
    EXPECT_EQ(out.str(), "[0.1,null,-3]");
}

TEST(CliConvert, WritesACanonicalCopy) {
    ScratchDir dir;
    const std::string path = WriteCube(dir);
    ASSERT_EQ(RunConvert(path, dir.File("copy.MD3")), 0);
    EXPECT_EQ(ReadBytes(dir.File("copy.MD3")), ReadBytes(path));
}

TEST(CliConvert, FailuresLeaveTheOutputAlone) {
    ScratchDir dir;
    const std::string path = WriteCube(dir);
    const std::string out = dir.File("out.md3");
    const std::vector<std::uint8_t> old(5, 9);
    WriteBytes(out, old);

    std::vector<std::uint8_t> truncated = ReadBytes(path);
    truncated.resize(truncated.size() - 3);
    WriteBytes(dir.File("short.md3"), truncated);
    EXPECT_THROW(RunConvert(dir.File("short.md3"), out), std::exception);
    EXPECT_THROW(RunConvert(dir.File("missing.md3"), out), std::exception);
    EXPECT_THROW(RunConvert(path, dir.File("out.xyz")), std::exception);
    EXPECT_EQ(ReadBytes(out), old);
}

}  // namespace
