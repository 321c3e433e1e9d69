#include <gtest/gtest.h>

#include "assets/pk3_tree.h"
#include "game_fixture.h"

using namespace testing_support;

namespace {

class PK3Tree : public GameFixture {};

TEST_F(PK3Tree, ArchivesFoldersAndFilesPerMode) {
    const std::string a = Pak("a.pk3", {{"models/x/", ""},
                                        {"models/x/One.MD3", "1"},
                                        {"models/x/two.mdc", "2"},
                                        {"models/y/three.md3", "3"},
                                        {"models/x/a.skin", "s"},
                                        {"models/x/four.md3", "4"},
                                        {"top.md3", "5"}});
    const std::string b = Pak("b.pk3", {{"sound/a.wav", "w"}});
    const std::vector<TPK3Source> sources{{a, "a.pk3"}, {b, "b.pk3"}};
    const TPK3Tree tree = BuildPK3Tree(kPK3ModeMD3, sources);
    EXPECT_TRUE(tree.found);
    EXPECT_EQ(tree.caption, "Select an MD3-model from the game-PAK (b.pk3)");
    ASSERT_EQ(tree.archives.size(), 2u);
    const auto& folders = tree.archives[0].folders;
    ASSERT_EQ(folders.size(), 4u);  // models/x/ twice: its entries are not adjacent
    EXPECT_EQ(folders[0].folder, "models/x/");
    EXPECT_EQ(folders[0].files, (std::vector<std::string>{"One.MD3", "two.mdc"}));
    EXPECT_EQ(folders[1].folder, "models/y/");
    EXPECT_EQ(folders[2].files, std::vector<std::string>{"four.md3"});
    EXPECT_EQ(folders[3].folder, "");
    EXPECT_TRUE(tree.archives[1].folders.empty());

    auto selection = SelectPK3File(tree, 0, 1, 0);
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->entryPath, "models/y/three.md3");
    EXPECT_EQ(selection->entryFolder, "models/y/");
    EXPECT_EQ(selection->sourcePak, a);
    EXPECT_EQ(selection->chosenArchive, "");
    EXPECT_FALSE(SelectPK3File(tree, 1, 0, 0));

    EXPECT_EQ(BuildPK3Tree(kPK3ModeSkin, sources).archives[0].folders[0].files,
              std::vector<std::string>{"a.skin"});
    EXPECT_FALSE(BuildPK3Tree(kPK3ModeMDM, sources).found);
    EXPECT_TRUE(BuildPK3Tree(2, sources).archives.empty());

    const TPK3Tree chosen = BuildPK3Tree(kPK3ModeArchiveFile, {{a, "a.pk3"}});
    EXPECT_EQ(chosen.caption, "Select a .PK3");
    selection = SelectPK3File(chosen, 0, 0, 1);
    EXPECT_EQ(selection->chosenArchive, a);
    EXPECT_EQ(selection->sourcePak, "");
}

TEST_F(PK3Tree, LockedAndBrokenArchivesAreReportedAndTheRestListed) {
    const std::string good = Pak("good.pk3", {{"m/a.md3", "1"}});
    const std::string broken = Loose("broken.pk3", "not an archive");
    const TPK3Tree tree = BuildPK3Tree(
        kPK3ModeMD3,
        {{good, "good.pk3"}, {File("locked.pk3"), "locked.pk3"}, {broken, "broken.pk3"}},
        [this](const std::string& path) { return path == File("locked.pk3"); });
    EXPECT_TRUE(tree.found);
    ASSERT_EQ(tree.archives.size(), 2u);
    EXPECT_TRUE(tree.archives[1].folders.empty());
    ASSERT_EQ(tree.messages.size(), 2u);
    EXPECT_EQ(tree.messages[0],
              "File in use: " + File("locked.pk3") + "\n\nThe file will be skipped");
    EXPECT_NE(tree.messages[1].find(broken), std::string::npos);
}

}  // namespace
