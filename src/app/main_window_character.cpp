// "Load Character From File...": a player assembled from a .char as the game does it, its
// mesh posed by the first animation file of its group, named by that group, dressed in its
// skin and wearing its head and accessories. Choosing a name of another file of the group
// poses the mesh with that file. What the .char names is looked up in the game (folder, then
// PAKs) and, without it, under the folders that hold the .char.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

#include "app/animation_controls.h"
#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/pk3_dialog.h"
#include "app/texture_panel.h"
#include "assets/archive_loads.h"
#include "assets/character_files.h"
#include "assets/pk3_tree.h"
#include "skeletal/skeletal_pair.h"

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
    if (chosen) LoadCharacterFromGameEntry(chosen->entryPath, chosen->sourcePak);
}

void TMainWindow::LoadCharacterFromGameEntry(const std::string& entry, const std::string& pak) {
    SetStatus("");
    const TEntryExtraction extracted =
        pak.empty() ? ExtractFromGamePaks(assets_.Paks(), entry, assets_.TmpDir())
                    : ExtractFromArchive(pak, entry, assets_.TmpDir());
    ShowProblems(extracted.problems);
    if (!extracted.ok()) {
        SetStatus(QString::fromStdString("Character not loaded: \"" + entry +
                                         "\" could not be taken out of " +
                                         (pak.empty() ? std::string("the game's PAKs") : pak)));
        return;
    }
    pendingRecent_ = TRecentModel{TRecentModel::Source::Game, {entry}, ""};
    LoadCharacter(QString::fromStdString(extracted.path));
    pendingRecent_.reset();
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
    TModelDocument model;
    if (!LoadMDMMDXFiles(model, QString::fromStdString(files.mesh),
                         QString::fromStdString(files.mdx), status))
        return;
    // The group's list replaces whatever .aninc lies beside an extracted MDX.
    model.aninc = files.animations;
    model.characterGroup = TCharacterGroup{files, {}, 0};
    model.characterGroup->localFiles.resize(files.animationFiles.size());
    model.characterGroup->localFiles.front() = files.mdx;
    model.skinFile = files.skin;
    if (!ReplaceModel(std::move(model), status)) return;
    // The names of every file of the group are offered, each loading its file when chosen.
    std::vector<TAnimationRange> names;
    for (std::size_t file = 0; file < files.animationFiles.size(); ++file) {
        for (const TANINCFrame& f : files.animationFiles[file].animations.frames)
            names.push_back({f.name, f.firstFrame, f.numFrames, f.framesPerSecond, file});
    }
    animation_->SetAnimations(std::move(names));
    status = "Character loaded";
    AfterModelLoaded(fileName, status, "Save as MDM/MDX");
    if (!missing.isEmpty()) status += "; " + missing;
    LoadAttachments(files.attachments, status);
}

void TMainWindow::LoadCharacterFromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadCharacterCommand(); });
    skipDialog_ = false;
}

bool TMainWindow::UseCharacterAnimationFile(std::size_t file) {
    if (!document_.characterGroup || document_.characterGroup->loaded == file) return true;
    bool loaded = false;
    Guarded([&] {
        Undoable(QStringLiteral("Load Animation File"), [&] {
            busy_ = true;
            QString status;
            const TCommandEnd end([this, &status] { EndCommand(&status); });
            SetStatus("");
            QApplication::setOverrideCursor(Qt::WaitCursor);
            loaded = LoadCharacterAnimationFile(file, status);
        });
    });
    return loaded;
}

bool TMainWindow::LoadCharacterAnimationFile(std::size_t file, QString& status) {
    TCharacterGroup& group = *document_.characterGroup;
    const std::string& gamePath = group.files.animationFiles.at(file).mdx;
    const auto notLoaded = [&status, &gamePath](const std::string& reason) {
        status = QString::fromStdString("Animation file " + gamePath + " not loaded: " + reason);
        return false;
    };
    std::string& local = group.localFiles.at(file);
    if (local.empty()) local = FindCharacterAnimationFile(group.files, file, &assets_);
    if (local.empty()) return notLoaded("not found");
    // Read aside: a file that fails, or does not fit the mesh, leaves the pose as it was.
    TMDX anim;
    if (!anim.LoadFromFile(local))
        return notLoaded(anim.LastError().empty() ? "the file cannot be read" : anim.LastError());
    const std::string problem = SkeletalPairProblem(document_.mdm, anim);
    if (!problem.empty()) return notLoaded(problem);
    document_.mdx = std::move(anim);
    // "Check Model" measures the list against the frames it belongs to.
    document_.aninc = group.files.animationFiles[file].animations;
    group.loaded = file;
    panels_->RefreshSkeletalPanels(document_.kind);
    ResetAnimationControls();
    status = QString::fromStdString("Animation file " + gamePath + " loaded");
    return true;
}
