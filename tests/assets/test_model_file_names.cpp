// Model names resolved as the game's model registration resolves them: "X.md3" before
// "X.mdc" wherever either lies, and "X_1"/"X_2" as the lower levels of detail.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/character_files.h"
#include "assets/model_file_names.h"
#include "game_fixture.h"

namespace {

using namespace testing_support;

TEST(ModelFileNames, CandidatesInTheGamesOrder) {
    const struct {
        const char* name;
        int level;
        std::vector<std::string> candidates;
    } cases[] = {
        {"models/a/gun.md3", 0, {"models/a/gun.md3", "models/a/gun.mdc"}},
        {"models/a/gun.mdc", 0, {"models/a/gun.md3", "models/a/gun.mdc"}},
        {"models/a/gun.md3", 1, {"models/a/gun_1.md3", "models/a/gun_1.mdc"}},
        {"models/a/gun.mdc", 2, {"models/a/gun_2.md3", "models/a/gun_2.mdc"}},
        {"Models/Gun.MD3", 0, {"Models/Gun.MD3", "Models/Gun.MDc"}},
        {"models/a.b/gun.md3", 1, {"models/a.b/gun_1.md3", "models/a.b/gun_1.mdc"}},
        {"models/a/gun.md3", 3, {}},
        {"models/a/gun.md3", -1, {}},
        {"models/p/body.mdm", 0, {"models/p/body.mdm"}},
        {"models/p/body.mdm", 1, {}},
        {"md3", 0, {"md3"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelFileCandidates(c.name, c.level), c.candidates) << c.name << " " << c.level;
}

TEST(ModelFileNames, LowerLevelsBesideAFile) {
    ScratchDir dir;
    for (const char* name : {"gun.md3", "GUN_1.MDC", "gun_2.md3", "gun_2.mdc", "gun_3.md3"})
        WriteBytes(dir.File(name), {'x'});
    const std::vector<TModelLevelFile> levels =
        FindLowerModelLevels(dir.File("gun.md3"), &FindFileOnDisk);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].level, 1);
    EXPECT_EQ(levels[0].file, dir.File("GUN_1.MDC"));
    EXPECT_EQ(levels[1].level, 2);
    EXPECT_EQ(levels[1].file, dir.File("gun_2.md3"));
    EXPECT_TRUE(FindLowerModelLevels(dir.File("other.md3"), &FindFileOnDisk).empty());
}

class ModelLookupInGame : public GameFixture {};

// A character's head named "head.md3", found as the game finds it: the MD3 anywhere in the
// game before an MDC anywhere, each in the game's search order (the folder, then the PAKs
// from the last listed).
TEST_F(ModelLookupInGame, AnMDCStandsInForAMissingMD3) {
    const std::string head = "models/hud/head.md3";
    const std::string mdc = "models/hud/head.mdc";
    const struct {
        const char* what;
        std::vector<ZipEntry> pak0, pak1;
        std::string looseMdc;  // text of a loose etmain/models/hud/head.mdc; empty: none
        std::string found;     // the text of the file found; empty: not found
    } cases[] = {
        {"md3 only", {{head, "pak0 md3"}}, {}, "", "pak0 md3"},
        {"mdc only", {{mdc, "pak0 mdc"}}, {}, "", "pak0 mdc"},
        {"both", {{mdc, "pak0 mdc"}, {head, "pak0 md3"}}, {}, "", "pak0 md3"},
        {"md3 in a PAK searched later", {{head, "pak0 md3"}}, {{mdc, "pak1 mdc"}}, "", "pak0 md3"},
        {"mdc in two PAKs", {{mdc, "pak0 mdc"}}, {{mdc, "pak1 mdc"}}, "", "pak1 mdc"},
        {"mdc in the folder", {}, {}, "loose mdc", "loose mdc"},
        {"md3 in a PAK, mdc in the folder", {{head, "pak0 md3"}}, {}, "loose mdc", "pak0 md3"},
        {"neither", {{"models/hud/other.md3", "x"}}, {}, "", ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(GamePath());
        std::filesystem::remove_all(TmpDir());
        std::vector<std::string> paks;
        if (!c.pak0.empty()) paks.push_back(Pak("pak0.pk3", c.pak0));
        if (!c.pak1.empty()) paks.push_back(Pak("pak1.pk3", c.pak1));
        if (!c.looseMdc.empty()) Loose("game/etmain/" + mdc, c.looseMdc);
        std::filesystem::create_directories(Etmain() + "scripts");  // a game without PAKs
        const std::string charFile =
            Loose("c/a.char", "characterDef { mesh \"x.mdm\" hudhead \"" + head + "\" }");
        const TCharacterFiles files = FindCharacterFiles(charFile, &Assets(paks));
        if (c.found.empty()) {
            EXPECT_TRUE(files.attachments.empty()) << c.what;
            EXPECT_NE(MissingCharacterText(files).find("head \"" + head + "\" not found"),
                      std::string::npos)
                << c.what;
            continue;
        }
        ASSERT_EQ(files.attachments.size(), 1u) << c.what << ": " << MissingCharacterText(files);
        EXPECT_EQ(FileText(files.attachments[0].model), c.found) << c.what;
    }
}

}  // namespace
