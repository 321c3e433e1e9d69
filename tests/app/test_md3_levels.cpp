// The View tab's "LOD" choice: the lower levels of detail found beside a loaded MD3, shown
// instead of the model when a user picks one with the keyboard.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QOpenGLWidget>

#include "main_window_fixture.h"
#include "model_factory.h"

namespace {

// With lighting off an untextured model is pure white, which neither the sky box nor the
// gradient contains.
int WhitePixels(const QImage& image) {
    int white = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) == qRgb(255, 255, 255)) ++white;
    return white;
}

class MD3LevelChoice : public MainWindowTest {};

TEST_F(MD3LevelChoice, ALevelFoundBesideTheModelIsShownInsteadOfIt) {
    TMD3 body, hand;
    MakeModel(body, {.surfaces = 2, .vertsPerSurface = 48, .frames = 3, .tags = 2});
    MakeModel(hand, {.surfaces = 0, .frames = 1, .tags = 2});  // nothing to draw
    ASSERT_TRUE(body.SaveToFile(dir_.File("body.md3")));
    ASSERT_TRUE(hand.SaveToFile(dir_.File("body_1.mdc")));  // an MD3 under the other name
    testing_support::WriteBytes(dir_.File("body_2.md3"), {'I', 'D', 'P', '3'});
    ASSERT_TRUE(body.SaveToFile(dir_.File("alone.md3")));
    ShowAndWait();
    window_->findChild<QCheckBox*>("cbLightingEnabled")->setChecked(false);
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    auto* lod = window_->findChild<QComboBox*>("cbMD3Lod");
    ASSERT_NE(lod, nullptr);

    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("body.md3")));
    ASSERT_TRUE(lod->isEnabled());
    ASSERT_EQ(lod->count(), 3);
    EXPECT_EQ(lod->itemText(0), "0: body.md3");
    EXPECT_EQ(lod->itemText(1), "1: body_1.mdc");
    EXPECT_EQ(lod->currentIndex(), 0);
    const int model = WhitePixels(view->grabFramebuffer());
    ASSERT_GT(model, 50);

    const struct {
        Qt::Key key;
        int index;
        std::string status;  // its start
        bool drawn;          // the model's white pixels
    } steps[] = {
        {Qt::Key_Down, 1, "LOD 1 shown: " + dir_.File("body_1.mdc"), false},
        {Qt::Key_Down, 0, "LOD 2 not shown: \"" + dir_.File("body_2.md3") + "\": ", true},
        {Qt::Key_End, 0, "LOD 2 not shown", true},
        {Qt::Key_Down, 1, "LOD 1 shown", false},
        {Qt::Key_Up, 0, "LOD 0 shown", true},
    };
    for (const auto& s : steps) {
        QTest::keyClick(lod, s.key);
        EXPECT_EQ(lod->currentIndex(), s.index) << s.status;
        EXPECT_EQ(window_->StatusText().toStdString().rfind(s.status, 0), 0u)
            << window_->StatusText().toStdString();
        EXPECT_EQ(WhitePixels(view->grabFramebuffer()) > model / 2, s.drawn) << s.status;
    }

    // An edit is made to the model, which the view then shows.
    QTest::keyClick(lod, Qt::Key_Down);
    ASSERT_EQ(lod->currentIndex(), 1);
    window_->Prompts().askText = [](const QString&, const QString&, const QString&) {
        return std::optional<QString>("90");
    };
    window_->findChild<QAction*>("actionModelMD3RotateZ")->trigger();
    EXPECT_EQ(lod->currentIndex(), 0);
    EXPECT_GT(WhitePixels(view->grabFramebuffer()), model / 2);

    // Another model brings its own levels, here none.
    QTest::keyClick(lod, Qt::Key_Down);
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("alone.md3")));
    EXPECT_FALSE(lod->isEnabled());
    EXPECT_EQ(lod->count(), 1);
    EXPECT_GT(WhitePixels(view->grabFramebuffer()), 50);
}

}  // namespace
