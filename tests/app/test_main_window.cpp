#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <fstream>

#include "app/model_panels.h"
#include "main_window_fixture.h"
#include "model_factory.h"

namespace {

QStringList VisibleTabs(QTabWidget* tabs) {
    QStringList names;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->isTabVisible(i)) names << tabs->tabText(i);
    }
    return names;
}

class MainWindowFlow : public MainWindowTest {
  protected:
    std::string WriteModel(const std::string& name, int frames = 3, int tags = 2) {
        TMD3 model;
        MakeModel(model, {.surfaces = 2, .vertsPerSurface = 48, .frames = frames, .tags = tags});
        const std::string path = dir_.File(name);
        EXPECT_TRUE(model.SaveToFile(path));
        return path;
    }
    QTabWidget* Tabs() { return window_->findChild<QTabWidget*>("pcTabs"); }
    QCheckBox* Box(const char* name) { return window_->findChild<QCheckBox*>(name); }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
};

TEST_F(MainWindowFlow, FirstStartAsksForTheGameAndShowsHelp) {
    ShowAndWait();
    ASSERT_EQ(folderCaptions_.size(), 1);
    EXPECT_TRUE(folderCaptions_[0].startsWith("Select path to \"Wolfenstein - Enemy Territory\""));
    EXPECT_EQ(VisibleTabs(Tabs()), QStringList{"Help"});
    EXPECT_EQ(window_->windowTitle(), "Veldra v1.6.2");
    // Defaults of a missing settings file.
    EXPECT_TRUE(Box("cbLightingEnabled")->isChecked());
    EXPECT_TRUE(Box("cbShowSkeleton")->isChecked());
    EXPECT_TRUE(Box("cbCenterModel")->isChecked());
    EXPECT_FALSE(Box("cbWireframe")->isChecked());
    EXPECT_FALSE(Box("cbMouseControl")->isChecked());
    EXPECT_TRUE(Action("menuViewGammaSW1")->isChecked());
    EXPECT_TRUE(Action("menuViewShowskybox")->isChecked());
    EXPECT_FALSE(window_->findChild<QMenu*>("menuViewSkycolors")->isEnabled());
    SaveWindowPicture("main_window_first_start");
}

TEST_F(MainWindowFlow, MissingTexturesFolderEndsTheProgram) {
    window_.reset();
    testing_support::ScratchDir bare;
    TMainWindow window(QString::fromStdString(bare.path().string()));
    QStringList shown;
    window.Prompts().message = [&shown](const QString&, const QString& text, bool) {
        shown << text;
    };
    EXPECT_EQ(window.StartupExitCode(), 1);
    QTest::qWait(20);  // the message waits for the event loop
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("This application is not installed correctly."));
}

TEST_F(MainWindowFlow, DroppedModelLoadsLikeTheMenuCommand) {
    ShowAndWait();
    const std::string path = WriteModel("robot.md3");
    window_->HandleDroppedFiles({QString::fromStdString(path)});
    EXPECT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
    EXPECT_EQ(window_->ModelSource(), kModelSourceFile);
    EXPECT_TRUE(openTitles_.isEmpty()) << "a dropped file needs no dialog";
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "robot.md3");
    EXPECT_EQ(window_->findChild<QLineEdit*>("leName")->text(), QString::fromStdString(path));
    EXPECT_EQ(VisibleTabs(Tabs()),
              (QStringList{"General", "Animation", "Tags", "Surfaces", "View"}));
    EXPECT_EQ(Tabs()->currentWidget()->objectName(), "tabView");
    EXPECT_EQ(window_->findChild<QComboBox*>("cbTagPivots")->currentText(), "origin");
    EXPECT_TRUE(window_->findChild<QGroupBox*>("gbAnimationControls")->isEnabled());
    EXPECT_TRUE(window_->Ogl().IsReady());
    QTest::qWait(120);  // a few animation ticks
    SaveWindowPicture("main_window_model_loaded");
}

TEST_F(MainWindowFlow, DropRulesForOtherFiles) {
    ShowAndWait();
    window_->HandleDroppedFiles({"/tmp/anim.mdx"});
    EXPECT_EQ(window_->StatusText(),
              "MDM/MDX files must both be drag'n'dropped at the same time..");
    window_->HandleDroppedFiles({"/tmp/notes.txt"});
    EXPECT_EQ(window_->StatusText(), "Invalid filetype to drag'n'drop: .TXT");
    window_->HandleDroppedFiles({"/tmp/a.mdm", "/tmp/b.mdx", "/tmp/c.mdx"});
    EXPECT_EQ(window_->StatusText(), "Invalid filetype to drag'n'drop: .MDM");
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
}

TEST_F(MainWindowFlow, GeneralLoaderChoosesByUpperCaseExtension) {
    ShowAndWait();
    const std::string path = WriteModel("mixed.Md3");
    answerOpen_ = QString::fromStdString(path);
    answerFilterIndex_ = 0;  // "All Supported Models"
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
    EXPECT_EQ(window_->StatusText(), "MD3 loaded");
    // The tag-file entry is offered but not read yet.
    answerFilterIndex_ =
        static_cast<int>(offeredFilters_.indexOf("Model Tags  (*.tag) (*.tag *.TAG)"));
    ASSERT_GE(answerFilterIndex_, 0);
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->StatusText(), "not yet supported..");
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
}

TEST_F(MainWindowFlow, RejectedFileResetsWithoutAMessage) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("good.md3")));
    testing_support::WriteBytes(dir_.File("bad.md3"), std::vector<std::uint8_t>(200, 7));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("bad.md3")));
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    EXPECT_EQ(window_->StatusText(), "");
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_EQ(VisibleTabs(Tabs()), QStringList{"View"});
    EXPECT_FALSE(window_->Busy());
    // A file that cannot be opened reaches the error handler, and the program goes on.
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("absent.md3")));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Cannot open file \""));
    EXPECT_FALSE(window_->Busy());
}

TEST_F(MainWindowFlow, SaveAsWritesTheModelAndClearKeepsTheName) {
    ShowAndWait();
    const std::string path = WriteModel("in.md3");
    window_->LoadMD3FromFile(QString::fromStdString(path));
    answerSave_ = QString::fromStdString(dir_.File("out.md3"));
    Action("actionFileSaveAs")->trigger();
    EXPECT_EQ(window_->StatusText(), "Model saved to file: out.md3");
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "out.md3");
    EXPECT_EQ(testing_support::ReadBytes(dir_.File("out.md3")), testing_support::ReadBytes(path));

    Action("actionModelClear")->trigger();
    EXPECT_EQ(window_->StatusText(), "Environment cleared..");
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "out.md3");
    EXPECT_EQ(window_->findChild<QLineEdit*>("leName")->text(), QString::fromStdString(path));
    EXPECT_FALSE(Action("actionModelClear")->isEnabled());
}

TEST_F(MainWindowFlow, SettingsAreWrittenAtCloseAndReadAtStart) {
    ShowAndWait();
    Box("cbWireframe")->setChecked(true);
    Action("menuViewGammaSW2_5")->trigger();
    EXPECT_EQ(window_->StatusText(), "Software Gamma set to: 2.5");
    window_->close();
    window_.reset();
    const auto ini = testing_support::ReadBytes(dir_.File("test_app.ini"));
    const std::string text(ini.begin(), ini.end());
    EXPECT_NE(text.find("WireFrame=1"), std::string::npos) << text;
    EXPECT_NE(text.find("Gamma=2.5"), std::string::npos) << text;
    EXPECT_LT(text.find("[Game]"), text.find("[View]"));

    window_ = std::make_unique<TMainWindow>(QString::fromStdString(dir_.path().string()));
    EXPECT_TRUE(window_->findChild<QCheckBox*>("cbWireframe")->isChecked());
    EXPECT_TRUE(window_->findChild<QAction*>("menuViewWireFrame")->isChecked());
    EXPECT_TRUE(window_->findChild<QAction*>("menuViewGammaSW2_5")->isChecked());
}

TEST_F(MainWindowFlow, ScreenshotButtonWritesTheNextFile) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("shot.md3")));
    window_->findChild<QPushButton*>("bPrtScr")->click();
    EXPECT_EQ(window_->StatusText(), "Screenshot saved into file: screenshot0.tga");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("screenshot0.tga")));
}

TEST_F(MainWindowFlow, SwitchesAndTheirMenuTwinsMoveTogether) {
    ShowAndWait();
    Action("menuViewShowAxis")->trigger();
    EXPECT_TRUE(Box("cbShowAxis")->isChecked());
    EXPECT_TRUE(window_->Switches().showAxis);
    Box("cbMouseControl")->setChecked(true);
    EXPECT_EQ(Box("cbMouseControl")->text(), "Mouse Control Type 2");
    EXPECT_EQ(Action("menuViewMouseControl")->text(), "Mouse Control Type 2");
    Action("menuViewShowskybox")->trigger();
    EXPECT_TRUE(window_->findChild<QMenu*>("menuViewSkycolors")->isEnabled());
    answerColour_ = 0x0000FF;
    Action("menuToolsColorconvertRadiant")->trigger();
    EXPECT_EQ(Action("menuToolsColorconvertRadiant")->text(),
              "Radiant: 1.000 0.000 0.000     Web: #FF0000");
}

TEST_F(MainWindowFlow, HelpTogglesBetweenHelpAndTheModelTabs) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("help.md3")));
    Action("actionHelp")->trigger();
    EXPECT_EQ(VisibleTabs(Tabs()), QStringList{"Help"});
    Action("actionHelp")->trigger();
    EXPECT_EQ(VisibleTabs(Tabs()),
              (QStringList{"General", "Animation", "Tags", "Surfaces", "View"}));
    EXPECT_EQ(Tabs()->currentWidget()->objectName(), "tabView");
}

}  // namespace

namespace {

// The model is drawn: with lighting off an untextured model is pure white, which neither
// the sky box nor the gradient contains.
TEST_F(MainWindowFlow, LoadedSampleModelIsDrawnInTheView) {
    VELDRA_REQUIRE_SAMPLES("md3");
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(SampleMD3("mortar_3rd.md3")));
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    window_->View().rotationAngles = {-70, 0, 30};
    SaveWindowPicture("main_window_sample_model");
    Box("cbLightingEnabled")->setChecked(false);
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    const QImage image = view->grabFramebuffer();
    int white = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) ++white;
        }
    }
    EXPECT_GT(white, 50) << "no untextured model pixels in the view";
}

}  // namespace

namespace {

// Another tab stops the drawing, but the view keeps showing the last frame.
TEST_F(MainWindowFlow, OtherTabsKeepTheLastFrameOnScreen) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("kept.md3")));
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    // What the window shows, as a person would see it.
    auto shown = [&] { return view->grab().toImage(); };
    const QImage onView = shown();
    Tabs()->setCurrentIndex(Tabs()->indexOf(window_->findChild<QWidget*>("tabView")) - 2);
    ASSERT_NE(Tabs()->currentWidget()->objectName(), "tabView");
    QTest::qWait(120);  // animation ticks ask for redraws meanwhile
    const QImage onOtherTab = shown();
    const QPoint middle(onView.width() / 2, onView.height() / 2);
    EXPECT_EQ(onOtherTab.pixel(middle), onView.pixel(middle));
    EXPECT_EQ(onOtherTab.pixel(5, 5), onView.pixel(5, 5)) << "the view was cleared";
}

}  // namespace

namespace {

TEST_F(MainWindowFlow, UnreadableSettingsAreReportedAndLeftAlone) {
    window_.reset();
    std::filesystem::create_directory(dir_.path() / "test_app.ini");
    window_ = std::make_unique<TMainWindow>(QString::fromStdString(dir_.path().string()));
    window_->Prompts().message = [this](const QString&, const QString& text, bool) {
        messages_ << text;
    };
    QTest::qWait(20);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Settings not read: ")) << messages_[0].toStdString();
    EXPECT_TRUE(window_->findChild<QCheckBox*>("cbLightingEnabled")->isChecked());  // defaults
    window_->close();
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "test_app.ini"));
}

}  // namespace
