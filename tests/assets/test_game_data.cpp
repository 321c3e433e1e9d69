// The game path, the PAK list, the game's scripts and the loads out of archives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "assets/archive_loads.h"
#include "assets/game_path.h"
#include "assets/image_search.h"
#include "game_fixture.h"
#include "model_factory.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

class GameData : public GameFixture {};

TEST_F(GameData, AddPakReportsEveryRefusal) {
    const std::string pak0 = Pak("pak0.pk3", {{"models/a.md3", "m"}});
    const std::string sounds = Pak("sounds.pk3", {{"sound/a.wav", "w"}, {"sound/b.ogg", "o"}});
    const std::string locked = Pak("locked.pk3", {{"textures/a.tga", "t"}});
    const int holder = ::open(locked.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &lock), 0);

    TPakList paks(TmpDir());
    std::string last;
    const StatusFn status = [&last](const std::string& text) { last = text; };
    struct Case {
        std::string path;
        int result;
        std::string status;
    };
    const Case cases[] = {
        {Etmain() + "PAK0.PK3", 0, "PAK-file added to the list: pak0.pk3"},
        {pak0, -1, "PAK-file pak0.pk3 already in list"},
        {Etmain() + "none.pk3", -1, "PAK-file does not exist:" + Etmain() + "none.pk3"},
        {locked, -1, "PAK-file is in use:" + locked},
        {sounds, -1, "PAK-file does not contain any relevant files: sounds.pk3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paks.AddPak(c.path, status), c.result) << c.path;
        EXPECT_EQ(last, c.status);
    }
    ::close(holder);
    ASSERT_EQ(paks.Count(), 1);
    EXPECT_EQ(paks[0].path, pak0);
    EXPECT_TRUE(paks[0].hasModels);
    EXPECT_FALSE(paks[0].hasTextures || paks[0].hasShaders);
    EXPECT_EQ(paks.Paths(), std::vector<std::string>{pak0});
}

TEST_F(GameData, ExtractionFoldersKeepTheirNumbersAndAreNeverShared) {
    TPakList paks(TmpDir());
    for (const char* name : {"a.pk3", "b.pk3", "c.pk3"})
        ASSERT_GE(paks.AddPak(Pak(name, {{"x.md3", "m"}})), 0);
    ASSERT_TRUE(paks.DeletePak(1));
    EXPECT_FALSE(paks.DeletePak(2));
    EXPECT_EQ(paks[1].name, "c.pk3");
    EXPECT_EQ(paks[1].extractDir, TmpDir() + "gp2/");
    // The next one would take position 2, whose folder c.pk3 still uses.
    ASSERT_EQ(paks.AddPak(Pak("d.pk3", {{"x.md3", "m"}})), 2);
    EXPECT_EQ(paks[2].extractDir, TmpDir() + "gp3/");
    EXPECT_FALSE(paks.FirstPakInUse());
}

TEST_F(GameData, GamePathNeedsEtmainAndPak0InAnyCase) {
    Loose("game/ETMAIN/Pak0.PK3", "x");
    EXPECT_EQ(GamePakPath(GamePath()), File("game/ETMAIN/Pak0.PK3"));
    TGameAssets assets(TmpDir());
    EXPECT_FALSE(assets.SetGamePath(File("nothing")));
    EXPECT_EQ(assets.GamePath(), "");
    EXPECT_TRUE(assets.SetGamePath(File("game")));
    EXPECT_EQ(assets.GamePath(), GamePath());
    Loose("game/ETMAIN/zz.PK3", "x");
    Loose("game/ETMAIN/Aa.pk3", "x");
    EXPECT_EQ(ListGamePaks(GamePath()),
              (std::vector<std::string>{File("game/ETMAIN/Aa.pk3"), File("game/ETMAIN/Pak0.PK3"),
                                        File("game/ETMAIN/zz.PK3")}));
}

// The game folder wins over every PAK, a later PAK over an earlier one (as the game reads
// them); only what a PAK gave is indexed, not what an earlier run left in its folder.
TEST_F(GameData, GameScanOrderAndStaleScripts) {
    Loose("game/etmain/scripts/common.shader", ShaderScript("from/folder", "a.tga"));
    const std::string pak0 =
        Pak("pak0.pk3", {{"scripts/common.shader", ShaderScript("from/pak0", "a.tga")},
                         {"Scripts/Pak0Only.SHADER", ShaderScript("p0", "a.tga")},
                         {"scripts/deep/x.shader", ShaderScript("deep", "a.tga")}});
    const std::string pak1 =
        Pak("pak1.pk3", {{"scripts/pak0only.shader", ShaderScript("from/pak1", "b.tga")},
                         {"scripts/pak1.shader", ShaderScript("p1a\np1b", "b")}});
    Loose("tmp/gp1/scripts/stale.shader", ShaderScript("stale", "s.tga"));
    std::vector<std::string> statuses;
    TGameAssets assets(TmpDir());
    ASSERT_EQ(assets.AddPak(pak0), 0);
    ASSERT_EQ(assets.AddPak(pak1), 1);
    TShaderScanReport report;
    ASSERT_TRUE(assets.SetGamePath(
        GamePath(), [&](const std::string& s) { statuses.push_back(s); }, &report));
    EXPECT_TRUE(report.problems.empty());
    const TETShaders& game = assets.Indexes().game;
    ASSERT_EQ(game.size(), 3u);
    EXPECT_EQ(game[0].shaderNames, std::vector<std::string>{"from/folder"});
    EXPECT_EQ(game[0].pak, 0);
    EXPECT_EQ(game[1].shaderNames, std::vector<std::string>{"from/pak1"});
    EXPECT_EQ(game[1].path, TmpDir() + "gp1/scripts/pak0only.shader");
    EXPECT_EQ(game[2].pakNr, 1);
    EXPECT_EQ(statuses.back(), "Total shaderfiles/shaders found: 3 / 4");
    EXPECT_EQ(statuses[2], "Checking for shader-files in pak1.pk3...");

    // Deleting a PAK takes its scripts out of the index and renumbers the later ones.
    ASSERT_TRUE(assets.DeletePak(0));
    ASSERT_EQ(assets.Indexes().game.size(), 3u);
    EXPECT_EQ(assets.Indexes().game[2].pakNr, 0);
    ASSERT_TRUE(assets.DeletePak(0));
    ASSERT_EQ(assets.Indexes().game.size(), 1u);
}

TEST_F(GameData, GameFolderLetsLaterArchivesOverride) {
    Pak("pak0.pk3", {{"scripts/x.shader", ShaderScript("base", "a.tga")}, {"t/a.tga", "0"}});
    Pak("zz_mod.pk3", {{"scripts/X.shader", ShaderScript("mod", "a.tga")}, {"T/A.tga", "1"}});
    Pak("sounds.pk3", {{"sound/a.wav", "w"}});
    TGameAssets assets(TmpDir());
    EXPECT_TRUE(assets.UseGameFolder(GamePath()).empty());
    ASSERT_EQ(assets.Paks().Count(), 2);
    EXPECT_EQ(assets.Paks()[1].name, "zz_mod.pk3");
    ASSERT_EQ(assets.Indexes().game.size(), 1u);
    EXPECT_EQ(assets.Indexes().game[0].shaderNames, std::vector<std::string>{"mod"});
    std::vector<std::string> problems;
    const auto image = FindSurfaceImage("t/a.tga", assets, TModelOrigin{}, problems);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(FileText(image->path), "1");
    EXPECT_FALSE(assets.UseGameFolder(File("nothing")).empty());
}

TEST_F(GameData, LoadsTakeTheLastPakThatHoldsTheModel) {
    TMD3 first, second;
    MakeModel(first, {});
    MakeModel(second, {.surfaces = 2});
    ASSERT_TRUE(first.SaveToFile(File("first.md3")));
    ASSERT_TRUE(second.SaveToFile(File("second.md3")));
    const std::string pak0 = Pak("pak0.pk3", {{"models/x/a.md3", FileText(File("first.md3"))}});
    const std::string pak1 = Pak("pak1.pk3", {{"Models/X/A.MD3", FileText(File("second.md3"))}});
    const std::string pak2 = Pak("pak2.pk3", {{"textures/t.tga", "t"}});
    TGameAssets& assets = Assets({pak0, pak1, pak2});

    TMD3 model;
    TModelLoad load = LoadMD3FromGame(model, assets, "models/x/a.md3");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.file, TmpDir() + "Models/X/A.MD3");
    EXPECT_EQ(model.header.numSurfaces, 2);
    load = LoadMD3FromGame(model, assets, "models/x/none.md3");
    EXPECT_FALSE(load.ok);
    EXPECT_NE(load.error.find("none.md3"), std::string::npos);
}

TEST_F(GameData, MapArchiveGivesItsScriptsAndModel) {
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(File("cube.md3")));
    const std::string map = Pak("map.pk3", {{"scripts/map.shader", ShaderScript("m/one", "x.tga")},
                                            {"models/map/cube.md3", FileText(File("cube.md3"))}});
    TGameAssets& assets = Assets({Pak("pak0.pk3", {{"a.md3", "m"}})});
    Loose("tmp/tmpmap/scripts/old.shader", ShaderScript("old", "o.tga"));
    TMD3 model;
    const TModelLoad load = LoadMD3FromMapArchive(model, assets, map, "MODELS/map/cube.md3");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.file, TmpDir() + "tmpmap/models/map/cube.md3");
    EXPECT_EQ(assets.MapArchive(), map);
    ASSERT_EQ(assets.Indexes().mapArchive.size(), 1u);
    EXPECT_EQ(assets.Indexes().mapArchive[0].shaderNames, std::vector<std::string>{"m/one"});

    EXPECT_FALSE(ExtractFromArchive(map, "models/none.md3", File("x")).ok());
}

// A moved PAK keeps its folder, and the index keeps naming the archive each script came from.
TEST_F(GameData, MovedPakKeepsItsFolderAndScripts) {
    Pak("pak0.pk3", {{"x.md3", "m"}});  // makes the folder a game
    std::vector<std::string> paks;
    for (const char* name : {"a", "b", "c"}) {
        paks.push_back(Pak(std::string(name) + ".pk3", {{"scripts/" + std::string(name) + ".shader",
                                                         ShaderScript(name, "x.tga")}}));
    }
    TGameAssets& assets = Assets(paks);
    ASSERT_EQ(assets.Indexes().game.size(), 3u);
    const auto order = [&] {
        std::string names, scripts;
        for (const TStrObject& pak : assets.Paks().Paks())
            names += pak.name.substr(0, 1) + pak.extractDir.substr(pak.extractDir.size() - 2, 1);
        // The index is in search order; what counts is that each script names its archive.
        std::vector<std::string> pairs;
        for (const TETShader& entry : assets.Indexes().game)
            pairs.push_back(entry.shaderNames[0] + assets.Paks()[entry.pakNr].name.substr(0, 1));
        std::sort(pairs.begin(), pairs.end());
        for (const std::string& pair : pairs)
            scripts += pair;
        return names + " " + scripts;
    };
    ASSERT_EQ(order(), "a0b1c2 aabbcc");
    EXPECT_TRUE(assets.MovePak(2, 0));
    EXPECT_EQ(order(), "c2a0b1 aabbcc");
    EXPECT_TRUE(assets.MovePak(0, 1));
    EXPECT_EQ(order(), "a0c2b1 aabbcc");
    EXPECT_FALSE(assets.MovePak(1, 3));
    EXPECT_FALSE(assets.MovePak(-1, 0));
    EXPECT_EQ(order(), "a0c2b1 aabbcc");
}

}  // namespace
