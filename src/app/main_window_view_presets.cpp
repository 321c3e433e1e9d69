// View → Views: the model from the front, back, sides, above, below or three-quarter, one key
// each; View → Open Models In: the view a newly loaded model starts in (from above unless
// chosen otherwise); View → Reload Shaders and Textures for those who edit them.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPushButton>

#include "app/main_window.h"
#include "app/menu_action.h"
#include "render/view_presets.h"

namespace {

struct PresetEntry {
    TViewPreset preset;
    const char* caption;
    const char* name;  // the entry's object name suffix
    // Alt+digit on every keyboard; the numeric keypad as 3-D programs use it, Ctrl for the
    // opposite side.
    const char* key;
    QKeyCombination keypad;
};

const PresetEntry kEntries[] = {
    {TViewPreset::Front, "Front", "Front", "Alt+1", Qt::KeypadModifier | Qt::Key_1},
    {TViewPreset::Back, "Back", "Back", "Alt+2",
     Qt::KeypadModifier | Qt::ControlModifier | Qt::Key_1},
    {TViewPreset::Left, "Left", "Left", "Alt+3",
     Qt::KeypadModifier | Qt::ControlModifier | Qt::Key_3},
    {TViewPreset::Right, "Right", "Right", "Alt+4", Qt::KeypadModifier | Qt::Key_3},
    {TViewPreset::Top, "Top", "Top", "Alt+5", Qt::KeypadModifier | Qt::Key_7},
    {TViewPreset::Bottom, "Bottom", "Bottom", "Alt+6",
     Qt::KeypadModifier | Qt::ControlModifier | Qt::Key_7},
    {TViewPreset::ThreeQuarter, "Three-Quarter", "ThreeQuarter", "Alt+7",
     Qt::KeypadModifier | Qt::Key_9},
};

}  // namespace

void TMainWindow::BuildViewPresets() {
    menuView_->addSeparator();
    QMenu* views = menuView_->addMenu(QStringLiteral("Views"));
    views->setObjectName("menuViewPresets");
    QMenu* opening = menuView_->addMenu(QStringLiteral("Open Models In"));
    opening->setObjectName("menuViewOpeningView");
    auto* openingGroup = new QActionGroup(this);
    for (const PresetEntry& e : kEntries) {
        QAction* item =
            MakeAction(this, qPrintable(QStringLiteral("actionView%1").arg(e.name)), e.caption);
        item->setShortcuts({QKeySequence(QString::fromLatin1(e.key)), QKeySequence(e.keypad)});
        const TViewPreset preset = e.preset;
        connect(item, &QAction::triggered, this, [this, preset] { ShowViewPreset(preset); });
        views->addAction(item);

        QAction* choice = MakeAction(
            this, qPrintable(QStringLiteral("actionViewOpenIn%1").arg(e.name)), e.caption);
        choice->setCheckable(true);
        choice->setChecked(preset == OpeningView());
        openingGroup->addAction(choice);
        opening->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, preset] {
            desktop_.openingView =
                preset == TViewPreset::Top ? std::string() : ViewPresetName(preset);
        });
    }

    // F5 reloads, as browsers and editors do; the tag command that had it moves beside it.
    if (auto* invertX = findChild<QAction*>("menuModelTagsInvertX", Qt::FindDirectChildrenOnly))
        invertX->setShortcut(QKeySequence(QStringLiteral("Shift+F5")));
    QAction* reload =
        MakeAction(this, "actionViewReloadShaders", "Reload Shaders and Textures", "F5");
    connect(reload, &QAction::triggered, this,
            [this] { Guarded([this] { ReloadShadersAndTextures(); }); });
    menuView_->addAction(reload);
    QAction* shot = MakeAction(this, "actionViewScreenshot", "Save Screenshot");
    shot->setShortcut(QKeySequence(Qt::Key_Print));
    connect(shot, &QAction::triggered, this, [this] { Guarded([this] { TakeScreenshot(); }); });
    menuView_->addAction(shot);
}

TViewPreset TMainWindow::OpeningView() const {
    return ViewPresetFromName(desktop_.openingView).value_or(TViewPreset::Top);
}

void TMainWindow::ShowOpeningViewChoice() {
    const QString name = QStringLiteral("actionViewOpenIn");
    for (const PresetEntry& e : kEntries) {
        if (auto* choice = findChild<QAction*>(name + e.name, Qt::FindDirectChildrenOnly))
            choice->setChecked(e.preset == OpeningView());
    }
}

void TMainWindow::ShowViewPreset(TViewPreset preset) {
    if (view_.lockView) return;
    ApplyViewPreset(view_, preset);
    RedrawView();
}

void TMainWindow::ReloadShadersAndTextures() {
    SetStatus("");
    // The store forgets every shader and image, so what is on disk now is read again.
    if (ogl_.IsReady()) ogl_.MakeCurrent();
    shaders_.ClearShaders();
    if (!assets_.GamePath().empty()) RescanGame();
    RebuildShaderList();
    RedrawView();
    if (StatusText().isEmpty()) SetStatus("Shaders and textures reloaded");
}

QString TMainWindow::ScreenshotFolder() const {
    if (desktop_.screenshotFolder.empty()) return workDir_;
    QString folder = QString::fromStdString(desktop_.screenshotFolder);
    return folder.endsWith('/') ? folder : folder + '/';
}

void TMainWindow::BuildScreenshotCommands(QMenu& settings) {
    QAction* folder = MakeAction(this, "actionSettingsScreenshotFolder", "Screenshot Folder...");
    connect(folder, &QAction::triggered, this, [this] {
        if (!prompts_.chooseFolder) return;
        const QString chosen = prompts_.chooseFolder("Select the folder for screenshots");
        if (chosen.isEmpty()) return;
        desktop_.screenshotFolder = chosen.toStdString();
        ShowScreenshotFolder();
        SetStatus("Screenshots go to " + ScreenshotFolder());
    });
    settings.addAction(folder);
    ShowScreenshotFolder();
}

void TMainWindow::ShowScreenshotFolder() {
    bPrtScr_->setToolTip(
        desktop_.screenshotFolder.empty()
            ? QStringLiteral("Save the view as screenshot<N>.tga beside the program")
            : "Save the view as screenshot<N>.tga in " + ScreenshotFolder());
}
