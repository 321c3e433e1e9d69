// The profile reader takes files edited by hand and writes back exactly what it read, apart
// from the values changed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "io/file_error.h"
#include "io/ini_file.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

// Built by appending: GCC 12 warns wrongly about Key(i).
std::string Key(std::size_t i) {
    std::string key = "k";
    key += std::to_string(i);
    return key;
}

TIniFile Parsed(std::string_view text) {
    TIniFile ini;
    ini.LoadFromText(text);
    return ini;
}

TEST(IniFile, ReadsHandEditedFilesAsProfileReadersDo) {
    const TIniFile ini = Parsed(
        "\xEF\xBB\xBF; comment\r\n"
        "Stray=before any section\r\n"
        "[ Game ]  \r\n"
        "  GameDir =  /games/et/  \r\n"
        "gamedir=second\r\n"
        "no equals sign here\r\n"
        "=no key\r\n"
        "\r\n"
        "[view]\r\n"
        "Lighting=0\r\n"
        "Quoted=\"  padded  \"\r\n"
        "Empty=\r\n"
        "[GAME]\r\n"
        "Extra=x");
    EXPECT_EQ(ini.ReadString("game", "GAMEDIR", "-"), "/games/et/");
    EXPECT_EQ(ini.ReadString("Game", "Extra", "-"), "x");
    EXPECT_EQ(ini.ReadString("Game", "no equals sign here", "-"), "-");
    EXPECT_EQ(ini.ReadString("", "Stray", "-"), "-");
    EXPECT_FALSE(ini.ReadBool("View", "lighting", true));
    EXPECT_EQ(ini.ReadString("View", "Quoted", "-"), "  padded  ");
    EXPECT_EQ(ini.ReadString("View", "Empty", "-"), "");
    EXPECT_TRUE(ini.ValueExists("VIEW", "empty"));
    EXPECT_FALSE(ini.ValueExists("View", "Missing"));
    EXPECT_TRUE(ini.SectionExists("game"));
    EXPECT_EQ(ini.ReadSection("Game"), (std::vector<std::string>{"GameDir", "Extra"}));
}

TEST(IniFile, WritesBackUntouchedLinesAsTheyWere) {
    const std::string text =
        "\xEF\xBB\xBF; notes\n"
        "[ Game ] trailing\n"
        "  GameDir =  /x  \n"
        "junk line\n"
        "\n"
        "[Empty]\n"
        "[]\n"
        "k=v\n";
    EXPECT_EQ(Parsed(text).ToText(), text);
    // Line ends become LF; a missing last line end is added.
    EXPECT_EQ(Parsed("[A]\r\nk=v\r\n\r\nold mac\rx").ToText(), "[A]\nk=v\n\nold mac\nx\n");
}

TEST(IniFile, WritesInPlaceThenAtTheEndOfTheSectionThenAsANewSection) {
    TIniFile ini = Parsed(
        "[Game]\n"
        "gamedir = old  \n"
        "; keep me\n"
        "\n"
        "[View]\n"
        "Axis=1\n");
    EXPECT_TRUE(ini.WriteString("GAME", "GameDir", "new"));
    EXPECT_TRUE(ini.WriteBool("game", "Cleanup", true));
    EXPECT_TRUE(ini.WriteInteger("SkyBox", "ColorTop", -5));
    EXPECT_TRUE(ini.WriteFloat("SkyBox", "Gamma", 2.5));
    EXPECT_EQ(ini.ToText(),
              "[Game]\n"
              "gamedir=new\n"
              "; keep me\n"
              "Cleanup=1\n"
              "\n"
              "[View]\n"
              "Axis=1\n"
              "\n"
              "[SkyBox]\n"
              "ColorTop=-5\n"
              "Gamma=2.5\n");
}

TEST(IniFile, UnreadableNumbersGiveTheDefault) {
    const TIniFile ini = Parsed(
        "[N]\n"
        "junk=12abc\nempty=\ncomma=1,5\nnan=nan\ninf=inf\nhex=0x10\n"
        "huge=99999999999999999999\n"
        "plus=+7\nspaced= -2.5e1 \nquoted=\"3\"\n");
    for (const char* key : {"junk", "empty", "comma", "nan", "inf", "hex"}) {
        EXPECT_EQ(ini.ReadInteger("N", key, 42), 42) << key;
        EXPECT_EQ(ini.ReadFloat("N", key, 0.25), 0.25) << key;
        EXPECT_TRUE(ini.ReadBool("N", key, true)) << key;
        EXPECT_FALSE(ini.ReadBool("N", key, false)) << key;
    }
    // Past the integer range: still a number, but neither an integer nor a flag.
    EXPECT_EQ(ini.ReadInteger("N", "huge", 42), 42);
    EXPECT_TRUE(ini.ReadBool("N", "huge", true));
    EXPECT_EQ(ini.ReadFloat("N", "huge", 0), 1e20);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 7);
    EXPECT_TRUE(ini.ReadBool("N", "plus", false));
    EXPECT_EQ(ini.ReadFloat("N", "spaced", 0), -25.0);
    EXPECT_EQ(ini.ReadInteger("N", "quoted", 0), 3);
}

TEST(IniFile, FloatsAreWrittenShortAndReadBackExactly) {
    TIniFile ini;
    const double values[] = {1.5,    2.0,  2.2,           0.1 + 0.2,
                             1e-300, -0.0, 123456789.125, std::numeric_limits<double>::max()};
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(ini.WriteFloat("F", Key(i), values[i]));
    EXPECT_FALSE(ini.WriteFloat("F", "nan", std::nan("")));
    EXPECT_FALSE(ini.WriteFloat("F", "inf", std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(ini.ValueExists("F", "nan"));

    const TIniFile back = Parsed(ini.ToText());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const double read = back.ReadFloat("F", Key(i), 7.0);
        EXPECT_EQ(read, values[i]);
        EXPECT_EQ(std::signbit(read), std::signbit(values[i]));
    }
    EXPECT_EQ(back.ReadString("F", "k0", ""), "1.5");
    EXPECT_EQ(back.ReadString("F", "k1", ""), "2");
    EXPECT_EQ(back.ReadString("F", "k2", ""), "2.2");
}

TEST(IniFile, AnyValueWithoutLineBreaksComesBackAndNamesThatCannotBeStoredAreRefused) {
    TIniFile ini;
    const std::string values[] = {"  lead", "trail\t", "\"quoted\"", "\"",
                                  "a\"b",   "",        "x=y;z [w]",  std::string(1 << 20, 'L')};
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(ini.WriteString("S", Key(i), values[i]));
    const TIniFile back = Parsed(ini.ToText());
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(back.ReadString("S", Key(i), "-"), values[i]) << i;

    const std::string before = ini.ToText();
    EXPECT_FALSE(ini.WriteString("S", "k0", "two\nlines"));
    EXPECT_FALSE(ini.WriteString("S", "k0", "cr\r"));
    for (const char* key : {"", "a=b", " k", "k ", "[k", ";k", "k\nl"})
        EXPECT_FALSE(ini.WriteString("S", key, "v")) << key;
    for (const char* section : {"", "a]b", " s", "s\n"})
        EXPECT_FALSE(ini.WriteString(section, "k", "v")) << section;
    EXPECT_FALSE(ini.WriteSection("S", {{"a", "1"}, {"A", "2"}}));
    EXPECT_FALSE(ini.WriteSection("S", {{"a", "1\n"}}));
    EXPECT_EQ(ini.ToText(), before);
}

TEST(IniFile, RewrittenSectionKeepsItsPlaceAndLeavesNoStaleBlock) {
    TIniFile ini = Parsed(
        "[List]\n"
        "Old0=a\n"
        "; about the list\n"
        "Custom=b\n"
        "\n"
        "[Other]\n"
        "k=v\n"
        "[list]\n"
        "Old1=c\n"
        "[Last]\n");
    ASSERT_TRUE(ini.WriteSection("LIST", {{"L0", "x"}, {"L1", "y"}}));
    ini.EraseSection("other");
    ASSERT_TRUE(ini.WriteSection("New", {}));
    EXPECT_EQ(ini.ToText(),
              "[List]\n"
              "L0=x\n"
              "L1=y\n"
              "\n"
              "[Last]\n"
              "\n"
              "[New]\n");
    EXPECT_EQ(ini.ReadSection("list"), (std::vector<std::string>{"L0", "L1"}));
}

TEST(IniFile, LoadsMissingFilesAsEmptyAndRefusesFilesItCannotUse) {
    ScratchDir dir;
    TIniFile ini = Parsed("[Old]\nk=v\n");
    EXPECT_TRUE(ini.LoadFromFile(dir.File("missing.ini")));
    EXPECT_EQ(ini.ToText(), "");
    EXPECT_TRUE(ini.LoadFromFile(dir.File("missing/folder/x.ini")));

    EXPECT_THROW(ini.LoadFromFile(dir.path().string()), FileError);

    const std::string big = dir.File("big.ini");
    testing_support::WriteBytes(big, {'[', 'A', ']', '\n'});
    std::filesystem::resize_file(big, TIniFile::kMaxFileBytes + 1);
    EXPECT_FALSE(ini.LoadFromFile(big));
    EXPECT_FALSE(ini.LastError().empty());
    EXPECT_FALSE(ini.SectionExists("A"));
}

}  // namespace
