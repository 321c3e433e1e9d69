// "Load MAP From File...": the menu command, the general loader and a dropped map, and the
// message box of a limit.
#include <QAction>
#include <QGroupBox>
#include <fstream>

#include "app/main_window_fixture.h"
#include "import/map_text.h"
#include "render/scene_settings.h"

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
        EXPECT_EQ(window_->StatusText(), "MAP loaded and converted to MD3; 1 patch skipped");
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
