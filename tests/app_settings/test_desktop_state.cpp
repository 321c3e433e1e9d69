// The remembered desktop state comes back from the profile as it was written, and what the
// program cannot use is dropped, not guessed at.
#include <gtest/gtest.h>

#include "app_settings/desktop_state.h"
#include "io/ini_file.h"

namespace {

using Source = TRecentModel::Source;

TEST(DesktopState, RecentLinesReadBackAndForeignLinesAreDropped) {
    const TRecentModel models[] = {
        {Source::File, {"/m/knife.md3"}, ""},
        {Source::File, {"/m/body.mdm", "/m/body.mdx"}, ""},
        {Source::Game, {"models/players/hud/head.md3"}, ""},
        {Source::Pk3, {"models/mapobjects/tree.md3"}, "/maps/forest.pk3"},
    };
    for (const TRecentModel& model : models)
        EXPECT_EQ(RecentModelFromText(RecentModelText(model)), model);
    for (const char* text :
         {"", "file", "file\t\t", "disk\t\t/a.md3", "pk3\t\tentry.md3", "file\t/a.pk3\t/a.md3"})
        EXPECT_FALSE(RecentModelFromText(text)) << text;
}

TEST(DesktopState, RecentListPutsTheLatestFirstWithoutRepeatsAndKeepsTen) {
    std::vector<TRecentModel> list;
    for (int i = 0; i < 12; ++i)
        AddRecentModel(list, {Source::File, {"/m/" + std::to_string(i) + ".md3"}, ""});
    AddRecentModel(list, {Source::File, {"/m/5.md3"}, ""});
    ASSERT_EQ(list.size(), kMaxRecentModels);
    EXPECT_EQ(list[0].paths[0], "/m/5.md3");
    EXPECT_EQ(list[1].paths[0], "/m/11.md3");
    EXPECT_EQ(list[9].paths[0], "/m/2.md3");
}

TEST(DesktopState, EverythingReadsBackAndNothingIsWrittenUntilRemembered) {
    TIniFile ini;
    WriteDesktopState(ini, TDesktopState{});
    EXPECT_EQ(ini.ToText(), "");

    TDesktopState state;
    state.recent = {{Source::Game, {"a.mdm", "a.mdx"}, ""}};
    state.windowGeometry = "AdnQywADAAA=";
    state.splitter = "AAAA/w==";
    state.tab = "tabTags";
    state.dialogFolders = {{"Save a model", "/home/me/models"}, {"a=b [x]", "/tmp"}};
    state.openingView = "three-quarter";
    state.screenshotFolder = "/home/me/shots";
    WriteDesktopState(ini, state);
    TDesktopState back = DesktopStateFromIni(ini);
    // A key cannot hold "=": the title's key leaves it out.
    EXPECT_EQ(back.dialogFolders.count("ab [x]"), 1u);
    back.dialogFolders.erase("ab [x]");
    state.dialogFolders.erase("a=b [x]");
    EXPECT_EQ(back, state);

    // Forgetting clears what was written.
    WriteDesktopState(ini, TDesktopState{});
    EXPECT_EQ(DesktopStateFromIni(ini), TDesktopState{});
}

}  // namespace
