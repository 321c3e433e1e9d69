// "Load Character From File...": a player assembled from a .char as the game does it, its
// mesh posed by the first animation file of its group, named by that group, dressed in its
// skin and wearing its head and accessories. What the .char names is looked up in the game
// (folder, then PAKs) and, without it, under the folders that hold the .char.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

#include "app/animation_controls.h"
#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/main_window.h"
#include "app/pk3_dialog.h"
#include "app/texture_panel.h"
#include "assets/archive_loads.h"
#include "assets/character_files.h"
#include "assets/pk3_tree.h"

namespace {

const char* const kCharacterTitle = "Select a character to load";
const char* const kCharacterFilter = "ET character  (.char)|*.char";

}  // namespace

void TMainWindow::BuildCharacterAction() {
    auto* fromFile = new QAction("Load Character From File...", this);
    fromFile->setObjectName("actionFileLoadCharacter");
    connect(fromFile, &QAction::triggered, this,
            [this] { Guarded([this] { LoadCharacterCommand(); }); });
    auto* fromGame = new QAction("Load Character From Game...", this);
    fromGame->setObjectName("actionFileLoadCharacterFromGame");
    connect(fromGame, &QAction::triggered, this,
            [this] { Guarded([this] { LoadCharacterFromGameCommand(); }); });
}

void TMainWindow::AddCharacterMenuEntries(QMenu& file) {
    const QList<QAction*> entries = file.actions();
    QAction* before = nullptr;
    for (qsizetype i = 0; i + 1 < entries.size(); ++i) {
        if (entries[i]->objectName() == "actionFileLoadMDS") before = entries[i + 1];
    }
    for (const char* name : {"actionFileLoadCharacter", "actionFileLoadCharacterFromGame"})
        file.insertAction(before, findChild<QAction*>(name, Qt::FindDirectChildrenOnly));
}

void TMainWindow::LoadCharacterCommand() {
    QString fileName = presetFileName_;
    if (!skipDialog_) {
        int filterIndex = 0;
        fileName = prompts_.openFile
                       ? prompts_.openFile(kCharacterTitle,
                                           DialogFilter(kCharacterFilter).split(";;"), filterIndex)
                       : QString();
    }
    skipDialog_ = false;
    if (!fileName.isEmpty()) LoadCharacter(fileName);
}

void TMainWindow::LoadCharacterFromGameCommand() {
    SetStatus("");
    if (assets_.Paks().Empty()) return;
    if (pk3Dialog_->Browse(kPK3ModeCharacter, PK3SourcesOf(assets_.Paks()), QString()) !=
        QDialog::Accepted)
        return;
    const std::optional<TPK3Selection> chosen = pk3Dialog_->SelectedFile();
    if (!chosen) return;
    const TEntryExtraction extracted =
        ExtractFromArchive(chosen->sourcePak, chosen->entryPath, assets_.TmpDir());
    ShowProblems(extracted.problems);
    if (!extracted.ok()) {
        SetStatus(QString::fromStdString("Character not loaded: \"" + chosen->entryPath +
                                         "\" could not be taken out of " + chosen->sourcePak));
        return;
    }
    LoadCharacter(QString::fromStdString(extracted.path));
}

void TMainWindow::LoadCharacter(const QString& fileName) {
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TCharacterFiles files = FindCharacterFiles(fileName.toStdString(), &assets_);
    const QString missing = QString::fromStdString(MissingCharacterText(files));
    if (!files.Loadable()) {
        status = "Character not loaded: " + missing;
        return;
    }
    ResetLodAndAnimationNames();
    ResetEnvironment();
    if (!LoadMDMMDXFiles(QString::fromStdString(files.mesh), QString::fromStdString(files.mdx),
                         status)) {
        ResetEnvironment();
        return;
    }
    // The group's list replaces whatever .aninc lies beside an extracted MDX.
    aninc_ = files.animations;
    std::vector<TAnimationRange> names;
    for (const TANINCFrame& f : aninc_.frames)
        names.push_back({f.name, f.firstFrame, f.numFrames, f.framesPerSecond});
    animation_->SetAnimations(std::move(names));
    status = "Character loaded";
    AfterModelLoaded(fileName, status, "Save as MDM/MDX");
    if (!files.skin.empty() && assets_.LoadSkin(files.skin)) {
        texturePanel_->SetSkinFile(QFileInfo(QString::fromStdString(files.skin)).fileName());
        ResolveSurfaces();
    }
    if (!missing.isEmpty()) status += "; " + missing;
    LoadAttachments(files.attachments, status);
}

void TMainWindow::LoadCharacterFromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadCharacterCommand(); });
    skipDialog_ = false;
}
