#include <QMenu>

#include "edit_commands_fixture.h"

namespace {

using EditCommandMenus = EditCommandsTest;

const char* const kMD3Only[] = {"actionFileAddframe",          "actionFileAddframesequence",
                                "actionFileAddframes",         "actionModelDeleteframe",
                                "actionModelMD3FlipX",         "actionModelMD3FlipY",
                                "actionModelMD3FlipZ",         "actionModelMD3FlipNormals",
                                "actionModelMD3FlipWinding",   "actionModelMD3RotateX",
                                "actionModelMD3RotateY",       "actionModelMD3RotateZ",
                                "actionModelMD3Scale",         "actionModelMD3TagAsOrigin",
                                "menuModelTagsInvertX",        "menuModelTagsInvertY",
                                "menuModelTagsInvertZ",        "menuModelTagsSwapXY",
                                "menuModelTagsSwapXZ",         "menuModelTagsSwapYZ",
                                "actionModelMD3SwapUVST",      "actionModelMD3SurfacesCompact",
                                "actionModelMD3FixCracksGaps", "actionModelMD3SmoothSurface"};
const char* const kBothFamilies[] = {"actionModelMD3RemoveSurface", "actionModelCalculateNormals",
                                     "menuModelSmoothSurface"};
const char* const kSkeletalOnly[] = {
    "actionModelMDMMDXframesToMD3", "actionModelMDMMDXRenameBones", "actionModelMDMMDXScaleBones",
    "actionModelMDMMDXSmoothSurface", "actionModelMDMMDXCalculateLOD"};

TEST_F(EditCommandMenus, EnabledOnlyWhileAnMD3ModelIsLoaded) {
    auto enabledCount = [this] {
        int n = 0;
        for (const char* name : kMD3Only)
            n += Action(name)->isEnabled() ? 1 : 0;
        for (const char* name : kBothFamilies)
            n += Action(name)->isEnabled() ? 1 : 0;
        for (const char* name : kSkeletalOnly)
            n += Action(name)->isEnabled() ? 100 : 0;
        return n;
    };
    const int all = static_cast<int>(std::size(kMD3Only) + std::size(kBothFamilies));
    EXPECT_EQ(enabledCount(), 0);
    LoadModel({.frames = 2, .tags = 1});
    EXPECT_EQ(enabledCount(), all);
    Run("actionModelClear");
    EXPECT_EQ(enabledCount(), 0);
    LoadModel({.frames = 2, .tags = 1});
    // A file that fails to load keeps the model, and so its commands.
    testing_support::WriteBytes(dir_.File("bad.md3"), std::vector<std::uint8_t>(64, 1));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("bad.md3")));
    EXPECT_EQ(enabledCount(), all);
}

TEST_F(EditCommandMenus, CaptionsShortcutsAndPlaces) {
    EXPECT_EQ(Action("actionModelMD3FixCracksGaps")->text(),
              "Fix Cracks && Gaps for Current Surface...");
    EXPECT_EQ(Action("actionFileAddframe")->shortcut(), QKeySequence("Ctrl+Alt+A"));
    EXPECT_EQ(Action("actionModelDeleteframe")->shortcut(), QKeySequence("Ctrl+Alt+D"));
    EXPECT_EQ(Action("menuModelTagsInvertY")->shortcut(), QKeySequence("F6"));
    EXPECT_EQ(Action("menuModelTagsSwapYZ")->shortcut(), QKeySequence("Ctrl+F7"));
    auto* animation = Child<QMenu>("menuModelAnimation");
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(Child<QMenu>("menuModel")->actions().contains(animation->menuAction()));
    EXPECT_TRUE(animation->actions().contains(Action("actionFileAddframesequence")));
    EXPECT_TRUE(animation->actions().contains(Action("actionModelDeleteframe")));
    // The Model menu offers the commands above and nothing else.
    QStringList known;
    for (const char* name : kMD3Only)
        known << name;
    for (const char* name : kBothFamilies)
        known << name;
    for (const char* name : kSkeletalOnly)
        known << name;
    int items = 0;
    std::function<void(QMenu*)> check = [&](QMenu* menu) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            if (item->menu() != nullptr) {
                check(item->menu());
                continue;
            }
            ++items;
            EXPECT_TRUE(known.contains(item->objectName())) << item->text().toStdString();
        }
    };
    check(Child<QMenu>("menuModel"));
    // The smoothing of each family runs behind the menu's own "Smooth Current Surface".
    EXPECT_EQ(items, known.size() - 2);
}

TEST_F(EditCommandMenus, ShortcutsReachTheCommands) {
    ShowAndWait();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    LoadModel({.surfaces = 1, .vertsPerSurface = 16, .frames = 2, .tags = 1});
    answerQuestion_ = TAnswer::Yes;
    QTest::keyClick(window_.get(), Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window_->MD3().header.numFrames, 1);
}

}  // namespace
