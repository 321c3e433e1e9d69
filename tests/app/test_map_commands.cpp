// "Load MAP From File...": the menu command, the general loader and a dropped map, the
// message box of a limit, and the progress dialog of a long conversion.
#include <QAction>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "app/main_window_fixture.h"
#include "import/map_text.h"
#include "render/scene_settings.h"
#include "round_brush_map.h"

namespace {

class MapCommands : public MainWindowTest {
  protected:
    QString WriteMap(const std::string& name, const std::string& text) {
        std::ofstream(dir_.File(name), std::ios::binary) << text;
        return QString::fromStdString(dir_.File(name));
    }
};

const char* const kPatch = "{\npatchDef2\n{\nt\n( 3 3 0 0 0 )\n(\n)\n}\n}\n";

}  // namespace

TEST_F(MapCommands, MenuGeneralLoaderAndDropConvertTheMap) {
    ShowAndWait();
    const QString file = WriteMap("box.map", map_text::World({map_text::Cube(64, "wall"), kPatch}));
    auto* action = window_->findChild<QAction*>("actionFileImportMapAsMD3");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Load MAP From File...");
    EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+Alt+M"));
    const char* const loaders[] = {"actionFileImportMapAsMD3", "actionFileLoadAnyFromFile", ""};
    for (const char* loader : loaders) {
        window_->findChild<QAction*>("actionModelClear")->trigger();
        answerOpen_ = file;
        answerFilterIndex_ = 0;
        if (*loader != '\0') {
            window_->findChild<QAction*>(loader)->trigger();
        } else {
            window_->HandleDroppedFiles({file});
        }
        EXPECT_EQ(window_->ModelKind(), kModelKindMap) << loader;
        EXPECT_EQ(window_->StatusText(),
                  "MAP loaded and converted to MD3; box.map: 1 malformed or flat patch left out");
        EXPECT_EQ(window_->MD3().header.surfaces[0].numVerts, 24);
        EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "box.map");
    }
    EXPECT_EQ(openTitles_.first(), "Select a map to load");
}

TEST_F(MapCommands, LimitIsShownAndLeavesNoModel) {
    ShowAndWait();
    std::vector<std::string> brushes;
    for (int i = 0; i < 33; ++i) {
        std::string name = "t";
        name += std::to_string(i);
        brushes.push_back(map_text::Cube(8, name));
    }
    window_->LoadMapFromFile(WriteMap("many.map", map_text::World(brushes)));
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("MAX_SURFACES limit exceeded: 33 > 32"))
        << messages_[0].toStdString();
}

TEST_F(MapCommands, CancelledConversionKeepsTheEditedModel) {
    ShowAndWait();
    window_->LoadMapFromFile(WriteMap("box.map", map_text::World({map_text::Cube(64, "wall")})));
    ASSERT_EQ(window_->ModelKind(), kModelKindMap);
    window_->findChild<QAction*>("actionModelMD3FlipX")->trigger();
    auto* undo = window_->findChild<QAction*>("actionEditUndo");
    ASSERT_EQ(undo->text(), "Undo Mirror X");
    auto* caption = window_->findChild<QGroupBox*>("gbModel");
    const QString editedCaption = caption->title();
    ASSERT_TRUE(window_->MD3().SaveToFile(dir_.File("before.md3")));

    // Far more corner searching than the test waits for: the dialog shows after 400 ms. A
    // round brush takes about a millisecond, so it takes many.
    const QString big = WriteMap("round.map", RoundBrushMap(1500, 100));
    for (const char* loader : {"", "actionFileLoadAnyFromFile"}) {
        QString shownLabel;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = window_->findChild<QProgressDialog*>();
            if (dialog == nullptr || !dialog->isVisible()) return;
            shownLabel = dialog->labelText();
            if (*loader == '\0') {
                SaveWindowPicture("map_progress");
                dialog->grab().save(QString(VELDRA_SCREENSHOT_DIR) + "/map_progress_dialog.png");
            }
            if (auto* cancel = dialog->findChild<QPushButton*>()) cancel->click();
            watch.stop();
        });
        watch.start();
        QElapsedTimer clock;
        clock.start();
        if (*loader == '\0') {
            window_->LoadMapFromFile(big);
        } else {
            answerOpen_ = big;
            window_->findChild<QAction*>(loader)->trigger();
        }
        watch.stop();

        EXPECT_EQ(shownLabel, "Converting map...") << loader;
        EXPECT_LT(clock.elapsed(), 3000) << "the cancel stopped the work";
        EXPECT_EQ(window_->StatusText(), "MAP not loaded: cancelled");
        EXPECT_EQ(window_->ModelKind(), kModelKindMap);
        EXPECT_EQ(caption->title(), editedCaption);
        EXPECT_EQ(undo->text(), "Undo Mirror X");
        ASSERT_TRUE(window_->MD3().SaveToFile(dir_.File("after.md3")));
        EXPECT_EQ(testing_support::ReadBytes(dir_.File("after.md3")),
                  testing_support::ReadBytes(dir_.File("before.md3")));
    }
}
