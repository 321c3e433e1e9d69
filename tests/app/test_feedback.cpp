// Feedback: what the window refuses or changes, it says: a typed non-number and by how much a
// map was scaled down. (The empty archive's message and the cancelled second save dialog are
// checked with the browser and the skeletal saves.)
#include <QAction>
#include <fstream>

#include "import/map_text.h"
#include "main_window_fixture.h"
#include "model_factory.h"

namespace {

using Feedback = MainWindowTest;

TEST_F(Feedback, RefusalsAndChangesAreExplained) {
    ShowAndWait();
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 12, .frames = 1, .tags = 0});
    ASSERT_TRUE(model.SaveToFile(dir_.File("box.md3")));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("box.md3")));
    window_->Prompts().askText = [](const QString&, const QString&, const QString&) {
        return std::optional<QString>("1,5");
    };
    window_->findChild<QAction*>("actionModelMD3Scale")->trigger();
    EXPECT_EQ(
        messages_,
        QStringList{"\"1,5\" is not a number: type a decimal number with a point, such as 1.5"});

    window_->Prompts().askYesNoCancel = [](const QString&, const QString&) { return TAnswer::Yes; };
    std::ofstream(dir_.File("huge.map")) << map_text::World({map_text::Cube(2044, "wall")});
    window_->LoadMapFromFile(QString::fromStdString(dir_.File("huge.map")));
    EXPECT_TRUE(
        window_->StatusText().contains("MAP-model scaled down to fit MD3-bounds (scaled by 0."))
        << window_->StatusText().toStdString();
}

}  // namespace
