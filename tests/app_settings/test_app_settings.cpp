// What the settings file carries from one run to the next, and that saving it loses nothing
// of what the user or another version of the program put there.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_settings/app_settings.h"
#include "app_settings/gamma_menu.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;

std::string ReadText(const std::string& path) {
    const auto bytes = testing_support::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    testing_support::WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TAppSettings LoadedFrom(const ScratchDir& dir, const std::string& text) {
    const std::string path = dir.File("veldra.ini");
    WriteText(path, text);
    return LoadAppSettings(path);
}

TEST(AppSettings, NoFileGivesEveryDefault) {
    ScratchDir dir;
    std::string problem;
    const TAppSettings s = LoadAppSettings(dir.File("veldra.ini"), &problem);
    EXPECT_EQ(problem, "");
    EXPECT_EQ(s.gameDir, "");
    EXPECT_TRUE(s.shaderList.empty());
    EXPECT_TRUE(s.paksList.empty());
    EXPECT_EQ(s.gamma, 1.0);
    EXPECT_EQ(GammaMenuIndex(s.gamma), 0);
    EXPECT_TRUE(s.alphaTexturePreview && s.showSkeleton && s.showTags && s.lighting &&
                s.centerModel && s.skyBoxEnabled);
    EXPECT_FALSE(s.wireFrame || s.twoSided || s.flatShading || s.groundplane || s.axis ||
                 s.mouseControl);
    EXPECT_EQ(s.skyColorTop, 100u + 256u * 139u + 65536u * 203u);
    EXPECT_EQ(s.skyColorBottom, 166u + 256u * 202u + 65536u * 240u);
    EXPECT_EQ(SettingsFileFor("/opt/veldra/veldra"), "/opt/veldra/veldra.ini");
}

TEST(AppSettings, NewFileHasEverySectionInOrderAndReadsBack) {
    ScratchDir dir;
    const std::string path = dir.File("veldra.ini");
    TAppSettings s;
    s.gameDir = "/games/et/";
    s.shaderList = {"/mods/a.shader", "", "/mods/b b.shader "};
    s.paksList = {"/games/et/etmain/pak0.pk3"};
    s.gamma = 2.5;
    s.wireFrame = true;
    s.showTags = false;
    s.skyBoxEnabled = false;
    s.skyColorTop = 255;
    ASSERT_TRUE(SaveAppSettings(path, s));
    EXPECT_EQ(ReadText(path),
              "[Game]\nGameDir=/games/et/\n\n"
              "[Settings]\nCleanup=1\n\n"
              "[ShaderList]\nShaderList0=/mods/a.shader\nShaderList1=\"/mods/b b.shader \"\n\n"
              "[PAKsList]\nPAKsList0=/games/et/etmain/pak0.pk3\n\n"
              "[Texturing]\nGamma=2.5\n\n"
              "[View]\nAlphaTexturePreview=1\nShowSkeleton=1\nShowTags=0\nLighting=1\n"
              "CenterModel=1\nWireFrame=1\nTwoSided=0\nFlatShading=0\nGroundplane=0\nAxis=0\n"
              "MouseControl=0\n\n"
              "[SkyBox]\nEnabled=0\nColorTop=255\nColorBottom=15780518\n");

    TAppSettings expected = s;
    expected.shaderList = {"/mods/a.shader", "/mods/b b.shader "};
    EXPECT_EQ(LoadAppSettings(path), expected);
}

TEST(AppSettings, SavingKeepsForeignContentAndRewritesBothLists) {
    ScratchDir dir;
    const std::string path = dir.File("veldra.ini");
    WriteText(path,
              "; written by hand\r\n"
              "[game]\r\n"
              "gamedir=/old/\r\n"
              "[Extra]\r\n"
              "Keep=me\r\n"
              "[ShaderList]\r\n"
              "ShaderList0=/a.shader\r\n"
              "Mine=\r\n"
              "ShaderList7=/c.shader\r\n"
              "[PAKsList]\r\n"
              "PAKsList0=/p0.pk3\r\n"
              "PAKsList1=   \r\n"
              "[View]\r\n"
              "Unknown=3\r\n"
              "axis=1\r\n"
              "[PAKsList]\r\n"
              "PAKsList2=/p2.pk3\r\n");
    TAppSettings s = LoadAppSettings(path);
    EXPECT_EQ(s.gameDir, "/old/");
    EXPECT_EQ(s.shaderList, (std::vector<std::string>{"/a.shader", "/c.shader"}));
    EXPECT_EQ(s.paksList, (std::vector<std::string>{"/p0.pk3", "/p2.pk3"}));
    EXPECT_TRUE(s.axis);

    s.shaderList.push_back("/d.shader");
    s.paksList = {"/p2.pk3", "two\nlines.pk3", "/p0.pk3"};
    ASSERT_TRUE(SaveAppSettings(path, s));
    EXPECT_EQ(ReadText(path),
              "; written by hand\n"
              "[game]\n"
              "gamedir=/old/\n"
              "[Extra]\n"
              "Keep=me\n"
              "[ShaderList]\n"
              "ShaderList0=/a.shader\n"
              "ShaderList1=/c.shader\n"
              "ShaderList2=/d.shader\n"
              "[PAKsList]\n"
              "PAKsList0=/p2.pk3\n"
              "PAKsList1=/p0.pk3\n"
              "[View]\n"
              "Unknown=3\n"
              "axis=1\n"
              "AlphaTexturePreview=1\nShowSkeleton=1\nShowTags=1\nLighting=1\nCenterModel=1\n"
              "WireFrame=0\nTwoSided=0\nFlatShading=0\nGroundplane=0\nMouseControl=0\n"
              "\n"
              "[Settings]\nCleanup=1\n\n"
              "[Texturing]\nGamma=1\n\n"
              "[SkyBox]\nEnabled=1\nColorTop=13339492\nColorBottom=15780518\n");
}

TEST(AppSettings, GammaTicksOnlyAnOfferedEntryAndIsKeptAsRead) {
    ScratchDir dir;
    EXPECT_EQ(GammaMenuIndex(LoadedFrom(dir, "[Texturing]\nGamma=2.5\n").gamma), 3);
    EXPECT_EQ(GammaMenuIndex(LoadedFrom(dir, "[Texturing]\nGamma=5\n").gamma), 8);

    const TAppSettings odd = LoadedFrom(dir, "[Texturing]\nGamma=2.2\n");
    EXPECT_EQ(odd.gamma, 2.2);
    EXPECT_EQ(GammaMenuIndex(odd.gamma), std::nullopt);
    ASSERT_TRUE(SaveAppSettings(dir.File("veldra.ini"), odd));
    EXPECT_NE(ReadText(dir.File("veldra.ini")).find("\nGamma=2.2\n"), std::string::npos);
}

TEST(AppSettings, UnreadableValuesGiveTheirDefaults) {
    ScratchDir dir;
    for (const char* gamma : {"abc", "0", "-1", "nan", "1,5", ""})
        EXPECT_EQ(LoadedFrom(dir, std::string("[Texturing]\nGamma=") + gamma).gamma, 1.0) << gamma;
    const TAppSettings s = LoadedFrom(dir,
                                      "[View]\nLighting=yes\nWireFrame=2\nShowTags=\n"
                                      "[SkyBox]\nColorTop=-1\nColorBottom=16777216\n");
    EXPECT_TRUE(s.lighting);
    EXPECT_TRUE(s.wireFrame);
    EXPECT_TRUE(s.showTags);
    EXPECT_EQ(s.skyColorTop, kDefaultSkyColorTop);
    EXPECT_EQ(s.skyColorBottom, kDefaultSkyColorBottom);
}

TEST(AppSettings, GameDirCountsOnlyWhileTheFolderExists) {
    ScratchDir dir;
    EXPECT_EQ(UsableGameDir(dir.path().string()), dir.path().string());
    EXPECT_EQ(UsableGameDir(dir.File("gone")), "");
    WriteText(dir.File("file"), "x");
    EXPECT_EQ(UsableGameDir(dir.File("file")), "");
}

}  // namespace
