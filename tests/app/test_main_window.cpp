#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTextBrowser>
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
    EXPECT_FALSE(folderCaptions_[0].contains('\r') || folderCaptions_[0].contains('\n'))
        << "a dialog title has one line";
    EXPECT_EQ(VisibleTabs(Tabs()), QStringList{"Help"});
    // The help is laid out when its page first shows, not with the window.
    EXPECT_TRUE(window_->findChild<QTextBrowser*>("helpText")->toPlainText().contains("Veldra"));
    EXPECT_EQ(window_->windowTitle(), "Veldra");
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

// The error box must not end up under the game-path dialog of the first showing.
TEST_F(MainWindowFlow, FailedStartUpShowsItsErrorAndNoGamePathDialog) {
    const std::pair<bool, const char*> cases[] = {
        {false, "This application is not installed correctly."},
        {true, "The game-files are already in use by another application."},
    };
    for (const auto& [installed, message] : cases) {
        window_.reset();
        testing_support::ScratchDir appDir;
        int holder = -1;
        if (installed) {
            // Installed properly, but another program holds the game archive.
            std::filesystem::copy(VELDRA_TEXTURES_DIR, appDir.path() / "textures",
                                  std::filesystem::copy_options::recursive);
            const std::string pak = appDir.File("pak0.pk3");
            testing_support::WriteBytes(pak, {1, 2, 3});
            holder = ::open(pak.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &lock), 0);
            std::ofstream(appDir.File("test_app.ini")) << "[PAKsList]\nPAKsList0=" << pak << "\n";
            std::filesystem::create_directories(appDir.path() / "tmp/gp0");
            testing_support::WriteBytes(appDir.File("tmp/gp0/other.shader"), {1});
        }
        messages_.clear();
        MakeWindow(appDir.path());
        EXPECT_EQ(window_->StartupExitCode(), 1);
        ShowAndWait();
        ASSERT_EQ(messages_.size(), 1) << message;
        EXPECT_TRUE(messages_[0].startsWith(message)) << messages_[0].toStdString();
        EXPECT_TRUE(folderCaptions_.isEmpty()) << message;
        window_->close();
        window_.reset();
        if (holder >= 0) ::close(holder);
        EXPECT_EQ(std::filesystem::exists(appDir.File("tmp/gp0/other.shader")), installed)
            << "the running copy's extracted files were removed";
    }
}

TEST_F(MainWindowFlow, DroppedModelLoadsLikeTheMenuCommand) {
    ShowAndWait();
    // Longer than the 254 characters a Windows path may have.
    std::filesystem::create_directory(dir_.path() / std::string(240, 'd'));
    const std::string path = WriteModel(std::string(240, 'd') + "/robot.md3");
    ASSERT_GT(path.size(), 254u);
    window_->HandleDroppedFiles({QString::fromStdString(path)});
    EXPECT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
    EXPECT_EQ(window_->ModelSource(), kModelSourceFile);
    EXPECT_TRUE(openTitles_.isEmpty()) << "a dropped file needs no dialog";
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "robot.md3");
    EXPECT_EQ(window_->findChild<QLineEdit*>("leName")->text(), QString::fromStdString(path));
    EXPECT_EQ(VisibleTabs(Tabs()),
              (QStringList{"General", "Animation", "Tags", "Surfaces", "View"}));
    EXPECT_EQ(Tabs()->currentWidget()->objectName(), "tabViewScroll");
    EXPECT_EQ(window_->findChild<QComboBox*>("cbTagPivots")->currentText(), "origin");
    EXPECT_TRUE(window_->findChild<QGroupBox*>("gbAnimationControls")->isEnabled());
    EXPECT_TRUE(window_->Ogl().IsReady());
    QTest::qWait(120);  // a few animation ticks
    SaveWindowPicture("main_window_model_loaded");
}

TEST_F(MainWindowFlow, AModelNamedOnTheCommandLineOpensOnceTheViewIsReady) {
    const std::string path = WriteModel("robot.md3");
    window_->OpenAtStart({QString::fromStdString(path)});
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    ShowAndWait();
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
    EXPECT_EQ(window_->findChild<QLineEdit*>("leName")->text(), QString::fromStdString(path));
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
    // A file no loader reads says so and keeps the model.
    testing_support::WriteBytes(dir_.File("notes.txt"), {1});
    answerOpen_ = QString::fromStdString(dir_.File("notes.txt"));
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->StatusText(),
              "Not loaded: notes.txt: not a kind of file this program reads");
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
}

TEST_F(MainWindowFlow, RejectedFileShowsTheReadersReasonAndKeepsTheModel) {
    ShowAndWait();
    testing_support::WriteBytes(dir_.File("bad.md3"), std::vector<std::uint8_t>(200, 7));
    const QString bad = QString::fromStdString(dir_.File("bad.md3"));
    TMD3 reader;
    ASSERT_FALSE(reader.LoadFromFile(bad.toStdString()));
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("good.md3")));
    // Both loaders: the MD3 command and the general one with "All Supported Models".
    for (const bool general : {false, true}) {
        if (general) {
            answerOpen_ = bad;
            Action("actionFileLoadAnyFromFile")->trigger();
        } else {
            window_->LoadMD3FromFile(bad);
        }
        EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
        EXPECT_EQ(window_->StatusText().toStdString(), "MD3 not loaded: " + reader.LastError());
        EXPECT_TRUE(messages_.isEmpty());
        EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "good.md3");
        EXPECT_FALSE(window_->Busy());
    }
    // A file that cannot be opened reaches the error handler, and the program goes on.
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("absent.md3")));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Cannot open file \""));
    EXPECT_FALSE(window_->Busy());
}

// Cancelling a load dialog must not lose the model or its unsaved edits, and the busy
// cursor belongs to the loading, not to the dialog.
TEST_F(MainWindowFlow, CancelledLoadDialogsKeepTheModelAndItsEdits) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("kept.md3")));
    window_->MD3().header.surfaces[0].vertices[0].x = 1234;  // an edit not yet saved
    for (const char* command : {"actionFileLoad", "actionFileLoadAnyFromFile"}) {
        answerOpen_.clear();
        Action(command)->trigger();
        ASSERT_EQ(window_->ModelKind(), kModelKindMD3) << command;
        EXPECT_EQ(window_->MD3().header.surfaces[0].vertices[0].x, 1234) << command;
        EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "kept.md3");
        EXPECT_EQ(window_->StatusText().toStdString(), "MD3 loaded") << command;
        EXPECT_FALSE(window_->Busy());
    }
    answerOpen_ = QString::fromStdString(WriteModel("next.md3"));
    Action("actionFileLoad")->trigger();
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "next.md3");
    EXPECT_EQ(openTitles_.size(), 3);
    EXPECT_FALSE(busyCursorOverDialog_);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowFlow, SaveAsWritesTheModelAndClearKeepsTheName) {
    ShowAndWait();
    const std::string path = WriteModel("in.md3");
    window_->LoadMD3FromFile(QString::fromStdString(path));
    answerSave_ = QString::fromStdString(dir_.File("out.md3"));
    Action("actionFileSaveAs")->trigger();
    EXPECT_EQ(window_->StatusText(), "Model saved to file: out.md3");
    EXPECT_EQ(saveSuffix_, "md3") << "the game finds only lower-case .md3 on Linux";
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
    EXPECT_EQ(window_->StatusText().toStdString(),
              "Screenshot saved into file: " + dir_.File("screenshot0.tga"));
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
    EXPECT_EQ(Tabs()->currentWidget()->objectName(), "tabViewScroll");
}

}  // namespace

namespace {

// With lighting off an untextured model is pure white, which neither the sky box nor the
// gradient contains.
int WhitePixels(const QImage& image) {
    int white = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) ++white;
        }
    }
    return white;
}

TEST_F(MainWindowFlow, LoadedSampleModelIsDrawnInTheView) {
    VELDRA_REQUIRE_SAMPLES("md3");
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(SampleMD3("mortar_3rd.md3")));
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    window_->View().rotationAngles = {-70, 0, 30};
    SaveWindowPicture("main_window_sample_model");
    Box("cbLightingEnabled")->setChecked(false);
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    EXPECT_GT(WhitePixels(view->grabFramebuffer()), 50) << "no untextured model pixels";
}

// A hand model holds only tags and zero frame bounds. Fitted at distance 0 the camera had no
// direction, nothing was drawn, and the previous model stayed on screen under the new name.
TEST_F(MainWindowFlow, TagsOnlyModelReplacesThePreviousPicture) {
    ShowAndWait();
    Box("cbLightingEnabled")->setChecked(false);
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("body.md3")));
    ASSERT_GT(WhitePixels(view->grabFramebuffer()), 50);

    TMD3 hand;
    MakeModel(hand, {.surfaces = 0, .frames = 2, .tags = 3});
    ASSERT_TRUE(hand.SaveToFile(dir_.File("hand.md3")));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("hand.md3")));
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_GE(window_->View().cameraDistance, kCameraDistanceMin);
    EXPECT_EQ(WhitePixels(view->grabFramebuffer()), 0) << "the previous model is still shown";
    SaveWindowPicture("main_window_tags_only");
}

// Hovering a menu entry makes the toolkit send its status tip, an empty one on leaving.
TEST_F(MainWindowFlow, MenusKeepTheStatusTextAndShowTheFixedCleanUpEntry) {
    ShowAndWait();
    QAction* cleanup = Action("menuSettingsCleanup");
    ASSERT_NE(cleanup, nullptr);
    EXPECT_TRUE(window_->findChild<QMenu*>("menuSettings")->actions().contains(cleanup));
    EXPECT_EQ(cleanup->text(), "Clean-up");
    EXPECT_TRUE(cleanup->isChecked());
    EXPECT_FALSE(cleanup->isEnabled());
    EXPECT_EQ(cleanup->toolTip(), "Remove \"tmp\"-directory after use");

    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("status.md3")));
    for (const char* name : {"actionFileLoad", "actionFileSaveAs", "menuSettingsCleanup"})
        Action(name)->showStatusText(window_->menuBar());
    QStatusTipEvent leaving{QString()};
    QCoreApplication::sendEvent(window_->menuBar(), &leaving);
    EXPECT_EQ(window_->StatusText().toStdString(), "MD3 loaded");

    // Clean-up does what it says at exit; through a link it removes the link only.
    testing_support::WriteBytes(dir_.File("tmp/tmpmap/left.shader"), {1});
    window_->close();
    window_.reset();
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "tmp"));
    testing_support::ScratchDir elsewhere;
    testing_support::WriteBytes(elsewhere.File("keep.tga"), {1});
    std::filesystem::create_directory_symlink(elsewhere.path(), dir_.path() / "tmp");
    MakeWindow(dir_.path());
    window_.reset();
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "tmp"));
    EXPECT_TRUE(std::filesystem::exists(elsewhere.File("keep.tga")));
}

}  // namespace

namespace {

// The view sits beside the tabs: what changes while another tab shows is drawn at once,
// also after the window was resized.
TEST_F(MainWindowFlow, TheViewIsDrawnWhateverTabShows) {
    ShowAndWait();
    Box("cbLightingEnabled")->setChecked(false);
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("drawn.md3")));
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    const int filled = WhitePixels(view->grabFramebuffer());
    ASSERT_GT(filled, 50);
    Tabs()->setCurrentIndex(Tabs()->indexOf(window_->findChild<QWidget*>("tabViewScroll")) - 2);
    ASSERT_NE(Tabs()->currentWidget()->objectName(), "tabViewScroll");

    Action("menuViewWireFrame")->trigger();
    EXPECT_LT(WhitePixels(view->grabFramebuffer()), filled / 2) << "the change is not drawn";
    window_->resize(window_->width() + 40, window_->height());
    QTest::qWait(50);
    Action("menuViewWireFrame")->trigger();
    EXPECT_GT(WhitePixels(view->grabFramebuffer()), filled / 2);
}

// The View tab's switch holds animated shaders where they are and lets them go on from there.
TEST_F(MainWindowFlow, PauseShadersHoldsTheShaderClock) {
    ShowAndWait();
    window_->LoadMD3FromFile(QString::fromStdString(WriteModel("clock.md3")));
    Tabs()->setCurrentWidget(window_->findChild<QWidget*>("tabViewScroll"));
    auto* view = window_->findChild<QOpenGLWidget*>("oglView");
    const auto drawnTime = [&] {
        view->grabFramebuffer();
        return window_->Renderer().MD3Drawer().ShaderTime();
    };
    QCheckBox* pause = Box("cbPauseShaders");
    const QPoint onBox(8, pause->height() / 2);
    QTest::mouseClick(pause, Qt::LeftButton, {}, onBox);
    ASSERT_TRUE(pause->isChecked());
    const double held = drawnTime();
    QTest::qWait(60);
    EXPECT_EQ(drawnTime(), held);
    QTest::mouseClick(pause, Qt::LeftButton, {}, onBox);
    QTest::qWait(60);
    EXPECT_GT(drawnTime(), held);
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
