// Panels that fit: numbers and names shown whole, with tooltips; every list labelled; tag
// axes in plain decimals; bones with their indices; screenshots on the Print key, into the
// folder chosen, named with their whole path.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/skeletal_square.h"

namespace {

class PanelsFit : public MainWindowTest {
  protected:
    void ShowTab(const char* page) {
        auto* tabs = window_->findChild<QTabWidget*>("pcTabs");
        tabs->setCurrentWidget(window_->findChild<QWidget*>(page));
        QTest::qWait(20);
    }
    template <typename T>
    T* Child(const char* name) {
        return window_->findChild<T*>(name);
    }
};

TEST_F(PanelsFit, NothingIsCutAndEveryListIsLabelled) {
    ShowAndWait();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 24, .frames = 2, .tags = 1});
    model.header.frames[0].minBounds = {-123.456f, -234.567f, -345.678f};
    model.header.tags[0].axis[0] = {1.0f, 1.2e-8f, -0.0f};
    ASSERT_TRUE(model.SaveToFile(dir_.File("wide.md3")));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("wide.md3")));

    ShowTab("tsAnimationScroll");
    auto* bounds = Child<QComboBox>("cbBBMinFrames");
    EXPECT_TRUE(bounds->currentText().endsWith("-345.678"));
    EXPECT_GE(bounds->width(), bounds->fontMetrics().horizontalAdvance(bounds->currentText()));
    EXPECT_EQ(bounds->toolTip(), bounds->currentText());
    EXPECT_EQ(Child<QComboBox>("cbTagAxis")->itemText(0), "(1  0  0)    (0  1  0)    (0  0  1)");

    QStringList unlabelled;
    QList<QWidget*> buddies;
    for (QLabel* label : window_->findChildren<QLabel*>())
        buddies << label->buddy();
    for (QComboBox* list : window_->findChildren<QComboBox*>())
        if (!buddies.contains(list)) unlabelled << list->objectName();
    EXPECT_TRUE(unlabelled.isEmpty()) << unlabelled.join(", ").toStdString();

    // The screenshot button is in sight on the View tab; the Print key takes a picture into
    // the folder the settings name, and the status bar says where it went.
    ShowTab("tabViewScroll");
    EXPECT_FALSE(Child<QPushButton>("bPrtScr")->visibleRegion().isEmpty());
    const auto shots = dir_.path() / "shots";
    std::filesystem::create_directories(shots);
    answerFolder_ = QString::fromStdString(shots.string());
    Child<QAction>("actionSettingsScreenshotFolder")->trigger();
    QWidget* view = Child<QWidget>("oglView");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Print);
    EXPECT_TRUE(std::filesystem::exists(shots / "screenshot0.tga"));
    EXPECT_EQ(window_->StatusText().toStdString(),
              "Screenshot saved into file: " + (shots / "screenshot0.tga").string());

    // Bones keep their full names and show their indices; the tree scrolls sideways.
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {});
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("sq.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("sq.mdx")));
    window_->LoadMDMMDXFromFiles(QString::fromStdString(dir_.File("sq.mdm")),
                                 QString::fromStdString(dir_.File("sq.mdx")));
    auto* bones = Child<QTreeWidget>("tvBones");
    ASSERT_GT(bones->topLevelItemCount(), 0);
    QTreeWidgetItem* root = bones->topLevelItem(0);
    EXPECT_EQ(root->text(1), "0");
    EXPECT_EQ(root->toolTip(0), root->text(0) + " (bone 0)");
    EXPECT_EQ(bones->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    ShowTab("tsBonesScroll");
    SaveWindowPicture("panels_bones");
}

}  // namespace
