#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/file_error.h"
#include "shader/shader_flags.h"
#include "shader/shader_index.h"
#include "shader/shader_lines.h"
#include "support/test_files.h"

namespace {

using Lines = std::vector<std::string>;

Lines Names(const std::string& script) {
    return IndexShaderNames(PrepareShaderLines(script, false));
}

TETShader Entry(const Lines& names) {
    TETShader entry;
    entry.shaderNames = names;
    return entry;
}

TEST(ShaderLines, CommentsBlanksLineEndsAndOddBytes) {
    const std::string text =
        "  Textures/A \t// trailing comment\r\n"
        "// whole-line comment\n"
        "\t{\x01\r\n"
        "map http://x\n" +
        std::string("a\0b", 3) + "\n" + "\r\n" + "no newline at end";
    EXPECT_EQ(PrepareShaderLines(text, false),
              (Lines{"Textures/A", "", "{", "map http:", std::string("a\0b", 3), "",
                     "no newline at end"}));
    EXPECT_EQ(PrepareShaderLines("MAP Textures/A.TGA\n", true), (Lines{"map textures/a.tga"}));
    EXPECT_TRUE(PrepareShaderLines("", false).empty());
}

TEST(ShaderIndex, NamesStandAloneOutsideBracesInLowerCase) {
    const std::string script =
        "Textures/Foo/Bar\n"
        "{\n"
        "  surfaceparm nomarks\n"
        "  {\n"
        "    map textures/foo/bar.tga\n"
        "  }\n"
        "}\n"
        "textures/on/the_name_line {\n"
        "  { map x.tga\n"
        "  }\n"
        "}\n"
        "\n"
        "// textures/commented/out\n"
        "textures/last\r\n"
        "{\r\n"
        "}\r\n";
    EXPECT_EQ(Names(script), (Lines{"textures/foo/bar", "textures/last"}));
}

TEST(ShaderIndex, StrayClosingBraceDoesNotHideLaterShaders) {
    EXPECT_EQ(Names("first\n{\n}\n}\nsecond\n{\n}\n"), (Lines{"first", "second"}));
}

TEST(ShaderIndex, IndexShaderFileReplacesNamesAndCountsThem) {
    testing_support::ScratchDir dir;
    const std::string path = dir.File("a.shader");
    const std::string text = "One\n{\n}\nTwo\n{\n}\n";
    testing_support::WriteBytes(path, {text.begin(), text.end()});
    TETShader entry = Entry({"stale"});
    EXPECT_EQ(IndexShaderFile(path, entry), 2);
    EXPECT_EQ(entry.shaderNames, (Lines{"one", "two"}));

    entry.shaderNames = {"stale"};
    EXPECT_THROW(IndexShaderFile(dir.File("missing.shader"), entry), FileError);
    EXPECT_TRUE(entry.shaderNames.empty());
}

TEST(ShaderIndex, FindShaderNameSearchesListThenMapThenGame) {
    TShaderFileIndexes indexes;
    indexes.shaderList = {Entry({"a"}), Entry({"b", "shared"})};
    indexes.mapArchive = {Entry({"shared", "map/only"})};
    indexes.game = {Entry({"x"}), Entry({"shared", "models/x/body"})};

    auto match = FindShaderName("Shared", indexes);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->index, ShaderFileIndex::ShaderList);
    EXPECT_EQ(match->fileNr, 1);
    EXPECT_EQ(match->nameNr, 1);
    EXPECT_EQ(match->flags, kShaderFoundInScript | kShaderFromShaderList);

    match = FindShaderName("map/only", indexes);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->index, ShaderFileIndex::MapArchive);
    EXPECT_EQ(match->nameNr, 1);
    EXPECT_EQ(match->flags, kShaderFoundInScript | kShaderFoundInArchive);

    match = FindShaderName("MODELS\\X\\Body", indexes);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->index, ShaderFileIndex::Game);
    EXPECT_EQ(match->fileNr, 1);
    EXPECT_EQ(match->nameNr, 1);
    EXPECT_EQ(match->flags, kShaderFoundInScript | kShaderFoundInGame | kShaderFoundInArchive);

    EXPECT_FALSE(FindShaderName("models/x/body.tga", indexes));
    EXPECT_FALSE(FindShaderName("", indexes));
}

}  // namespace
