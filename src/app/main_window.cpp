#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <clocale>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/gl_view_widget.h"
#include "app/pk3_dialog.h"
#include "app/tag_entry.h"
#include "app/view_switch_pair.h"
#include "app_settings/app_settings.h"
#include "app_settings/gamma_menu.h"
#include "app_settings/settings_location.h"
#include "assets/game_path.h"
#include "io/file_error.h"
#include "io/file_lock.h"
#include "render/gl/sky_box.h"
#include "render/view_control.h"

namespace {

// Frees the view's display lists and textures in its context, while the stores they belong
// to are alive.
void ReleaseView(TOGL& ogl, TGLViewWidget* view) {
    if (!ogl.IsReady()) return;
    view->makeCurrent();
    ogl.Release();
    view->doneCurrent();
}

const char* const kNotInstalledText =
    "This application is not installed correctly.\r\nCopy the .exe and the subdirectory "
    "\"textures\" into its own directory";
const char* const kGameFilesInUseText =
    "The game-files are already in use by another application.\r\nThis tool will halt..";

QString WithSlash(QString folder) {
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

// Screenshots and files taken out of archives go beside the program, or to the user's data
// folder when the program is installed where the user cannot write.
QString WorkFolderFor(const QString& appDir) {
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return WithSlash(QString::fromStdString(
        ChooseWorkFolder(WithSlash(appDir).toStdString(), WithSlash(user).toStdString())));
}

}  // namespace

TMainWindow::TMainWindow(const QString& appDir, QWidget* parent)
    : QMainWindow(parent),
      shaders_(&textures_),
      renderer_(ogl_, shaders_),
      assets_((WorkFolderFor(appDir) + "tmp/").toStdString()) {
    // Numbers everywhere use a point, whatever the user's locale says; the toolkit set the C
    // library's numeric locale from the environment when it started.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    setWindowTitle("Veldra");
    setObjectName("MainWindow");
    appDir_ = WithSlash(appDir);
    workDir_ = WorkFolderFor(appDir);
    ogl_.SetTextureHooks(TextureHooksFor(textures_));
    ogl_.SetErrorHandler([this](const TGLErrorReport& report) {
        if (prompts_.message)
            prompts_.message(QString::fromStdString(report.caption),
                             QString::fromStdString(report.message), true);
        if (report.quit) {
            ending_ = true;
            QTimer::singleShot(0, qApp, [code = report.code] { QApplication::exit(code); });
        }
    });

    BuildLayout();
    BuildActions();
    BuildMenus();
    BuildSwitches();
    BuildViewPresets();
    BuildClassSkinList();
    BuildTexturing();

    if (!QDir(appDir_ + "textures").exists()) {
        QTimer::singleShot(0, this, [this] {
            if (prompts_.message) prompts_.message("Veldra", kNotInstalledText, true);
            QApplication::exit(1);
        });
        startupExitCode_ = 1;
        ending_ = true;
    }
    CreateFolders();
    gamma_ = 1.0;
    colours_ = TSceneColors{};
    LoadSettings();
    for (const QString& pak : settingsPaks_) {
        if (IsFileInUse(pak.toStdString())) {
            startupExitCode_ = 1;
            ending_ = true;
            QTimer::singleShot(0, this, [this] {
                if (prompts_.message) prompts_.message("Veldra", kGameFilesInUseText, true);
                QApplication::exit(1);
            });
            break;
        }
    }
    if (!ending_) StartGameData();
    setAcceptDrops(true);
    busy_ = false;
    timerFPS_->setInterval(50);
    view_ = TViewState{};
    menuViewSkycolors_->setEnabled(!menuViewShowskybox_->isChecked());
    ResetEnvironment();
    textures_.Paths().AddProgramSearchDirs(appDir_.toStdString());
    ogl_.Camera().ResetCamera();
    ogl_.Camera().freeMove = false;
    timerFPS_->start();
    timerOGLFPS_->start();
}

// "Clean-up": what was taken out of archives goes with the window. A window that stopped at
// start-up leaves the folder alone, as another running copy may be using it.
TMainWindow::~TMainWindow() {
    // A window whose closing was refused (changes kept) still holds the view's textures,
    // and their release needs the texture store, which dies before the view.
    ReleaseView(ogl_, glView_);
    if (startupExitCode_ != 0) return;
    QString folder = tmpDir_;
    // Without the trailing separator a link named "tmp" is removed, not followed.
    if (folder.endsWith('/')) folder.chop(1);
    std::error_code ec;
    std::filesystem::remove_all(folder.toStdString(), ec);
}

void TMainWindow::CreateFolders() {
    tmpDir_ = workDir_ + "tmp/";
    QDir().mkpath(tmpDir_);
    QDir().mkpath(tmpDir_ + "tmpmap");
    // The browser's previews are taken out of their archives apart from what is loaded.
    pk3Dialog_->previewFolder = (tmpDir_ + "preview/").toStdString();
}

bool TMainWindow::event(QEvent* event) {
    // Hovering a menu entry sends its status tip, an empty one too, and the toolkit would put
    // it in place of what the last command reported.
    if (event->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(event);
}

QString TMainWindow::StatusText() const {
    return statusBar()->currentMessage();
}

void TMainWindow::SetStatus(const QString& text) {
    if (text.isEmpty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(text);
    }
}

void TMainWindow::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        busy_ = false;
        QApplication::restoreOverrideCursor();
        if (prompts_.message) prompts_.message("Veldra", QString::fromUtf8(e.what()), true);
    }
}

// Named after the executable: beside it, or in the user's folder where it cannot be written.
TSettingsFiles TMainWindow::SettingsFiles() const {
    const QString executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return ChooseSettingsFiles(SettingsFileFor((appDir_ + executable).toStdString()),
                               SettingsFileFor((userFolder + "/" + executable).toStdString()));
}

void TMainWindow::LoadSettings() {
    std::string problem;
    const TAppSettings s = LoadAppSettings(SettingsFiles().read, &problem);
    if (!problem.empty()) {
        // The defaults are used and the file is left as it is; say why once the window runs.
        QTimer::singleShot(0, this, [this, problem] {
            if (prompts_.message)
                prompts_.message("Veldra", QString::fromStdString("Settings not read: " + problem),
                                 true);
        });
    }
    settingsGamePath_ = QString::fromStdString(UsableGameDir(s.gameDir));
    shaderList_.clear();
    for (const std::string& entry : s.shaderList)
        shaderList_ << QString::fromStdString(entry);
    settingsPaks_.clear();
    for (const std::string& entry : s.paksList)
        settingsPaks_ << QString::fromStdString(entry);
    gamma_ = s.gamma;
    const auto gammaIndex = GammaMenuIndex(s.gamma);
    for (std::size_t i = 0; i < gammaItems_.size(); ++i) {
        gammaItems_[i].second->setChecked(gammaIndex && static_cast<std::size_t>(*gammaIndex) == i);
    }
    const std::pair<const char*, bool> flags[] = {{"cbAlphaPreview", s.alphaTexturePreview},
                                                  {"cbShowSkeleton", s.showSkeleton},
                                                  {"cbShowTags", s.showTags},
                                                  {"cbLightingEnabled", s.lighting},
                                                  {"cbCenterModel", s.centerModel},
                                                  {"cbWireframe", s.wireFrame},
                                                  {"cbTwoSided", s.twoSided},
                                                  {"cbSmoothFlat", s.flatShading},
                                                  {"cbShowGroundplane", s.groundplane},
                                                  {"cbShowAxis", s.axis},
                                                  {"cbMouseControl", s.mouseControl}};
    for (const auto& [name, on] : flags) {
        for (const auto& pair : switchPairs_) {
            if (pair->Box()->objectName() == name) {
                pair->SetQuietly(on);
                OnSwitchChanged(name, on);
            }
        }
    }
    menuViewShowskybox_->setChecked(s.skyBoxEnabled);
    colours_.skyTop = s.skyColorTop;
    colours_.skyBottom = s.skyColorBottom;
    desktop_ = s.desktop;
    RebuildRecentMenu();
    ShowOpeningViewChoice();
    ShowScreenshotFolder();
    RestoreWindowPlace();
}

void TMainWindow::SaveSettings() {
    TAppSettings s;
    // A window that never took the settings' game over must not lose it.
    const bool started = firstShowingDone_ && !ending_;
    s.gameDir = started ? assets_.GamePath() : settingsGamePath_.toStdString();
    for (const QString& entry : shaderList_)
        s.shaderList.push_back(entry.toStdString());
    if (ending_) {
        for (const QString& entry : settingsPaks_)
            s.paksList.push_back(entry.toStdString());
    } else {
        s.paksList = assets_.Paks().Paths();
    }
    s.gamma = gamma_;
    s.alphaTexturePreview = switches_.alphaPreview;
    s.showSkeleton = switches_.showSkeleton;
    s.showTags = switches_.showTags;
    s.lighting = switches_.lighting;
    s.centerModel = switches_.centerModel;
    s.wireFrame = switches_.wireframe;
    s.twoSided = switches_.twoSided;
    s.flatShading = switches_.flatShading;
    s.groundplane = switches_.showGroundplane;
    s.axis = switches_.showAxis;
    s.mouseControl = switches_.mouseControlType2;
    s.skyBoxEnabled = menuViewShowskybox_->isChecked();
    s.skyColorTop = colours_.skyTop;
    s.skyColorBottom = colours_.skyBottom;
    TakeWindowPlace();
    s.desktop = desktop_;
    const std::string file = SettingsFiles().write;
    QDir().mkpath(QFileInfo(QString::fromStdString(file)).absolutePath());
    std::string error;
    try {
        if (!SaveAppSettings(file, s, &error) && prompts_.message) {
            prompts_.message("Veldra", QString::fromStdString("Settings not saved: " + error),
                             true);
        }
    } catch (const FileError& e) {
        if (prompts_.message) prompts_.message("Veldra", QString::fromUtf8(e.what()), true);
    }
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (!SettleUnsavedChanges()) {
        event->ignore();
        return;
    }
    timerFPS_->stop();
    timerOGLFPS_->stop();
    SaveSettings();
    ReleaseView(ogl_, glView_);
    event->accept();
}

void TMainWindow::OnContextReady() {
    ogl_.InitOnWindow(glView_);
    ogl_.QueryMaxTextureUnits();
    view_.cameraDistance = kCameraDistanceStart;
    PlaceCameraAtStart(view_, ogl_.Camera());
    const bool loaded = ogl_.SkyBox().LoadSkyBox("sky");
    ogl_.SkyBox().SetSkyBoxShown(loaded);
    ogl_.SkyBox().SetSkyBoxShown(menuViewShowskybox_->isChecked());
    // Dialogs must not open inside the toolkit's GL initialisation.
    QTimer::singleShot(0, this, &TMainWindow::FirstShowing);
}

void TMainWindow::FirstShowing() {
    if (firstShowingDone_) return;
    firstShowingDone_ = true;
    // The program is about to end with an error box; a game-path dialog would cover it.
    if (ending_) return;
    if (!settingsGamePath_.isEmpty()) {
        SetGamePath(settingsGamePath_);
        ShowFamily();
        RestoreChosenTab();
    } else {
        SelectGamePath();
        ToggleHelp();
    }
    if (!startFiles_.isEmpty()) OpenStartFiles(std::exchange(startFiles_, {}));
    RedrawView();
}
