// The game: its path, the list of its archives (PAKs) and the loads out of archives through
// the PK3 browser ("Load MD3 From Game...", "Load MD3 From PK3...").
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/command_end.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/pk3_dialog.h"
#include "app/progress_dialog.h"
#include "assets/archive_loads.h"
#include "assets/archive_names.h"
#include "assets/game_path.h"
#include "io/file_error.h"

namespace {

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& entry : list)
        out.push_back(entry.toStdString());
    return out;
}

// The position of the game's own base archive (its etmain's pak0, as "Select Game Path..."
// adds it) in the list; -1 when it is not listed.
int BasePakIndex(const TPakList& paks, const std::string& gamePath) {
    if (gamePath.empty()) return -1;
    for (int i = 0; i < paks.Count(); ++i) {
        const std::filesystem::path pak(paks[i].path);
        const std::filesystem::path etmain = pak.parent_path();
        if (EqualIgnoringCase(pak.filename().string(), "pak0.pk3") &&
            EqualIgnoringCase(etmain.filename().string(), "etmain") &&
            WithTrailingSeparator(etmain.parent_path().string()) == gamePath)
            return i;
    }
    return -1;
}

}  // namespace

StatusFn TMainWindow::StatusReporter() {
    return [this](const std::string& text) { SetStatus(QString::fromStdString(text)); };
}

void TMainWindow::BuildGameGroup() {
    auto* group = new QGroupBox("Game PAKs", viewTab_);
    group->setObjectName("gbGame");
    auto* rows = new QVBoxLayout(group);
    auto* paks = new QHBoxLayout;
    auto* order = new QHBoxLayout;
    rows->addLayout(paks);
    rows->addLayout(order);
    cbPAKsList_ = new QComboBox(group);
    cbPAKsList_->setObjectName("cbPAKsList");
    cbPAKsList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbPAKsList_->setMinimumContentsLength(6);
    auto* add = new QPushButton("Add PAK...", group);
    add->setObjectName("bAddGamePAK");
    add->setToolTip("Add a PAK-file from the game");
    auto* remove = new QPushButton("Del. PAK", group);
    remove->setObjectName("bDelGamePAK");
    auto* up = new QPushButton("Move Up", group);
    up->setObjectName("bUpGamePAK");
    up->setToolTip("Move the PAK-file up: the PAK-files below it override it");
    auto* down = new QPushButton("Move Down", group);
    down->setObjectName("bDownGamePAK");
    down->setToolTip("Move the PAK-file down: it overrides the PAK-files above it");
    // Above the row, which is as wide as the page allows already.
    auto* paksLabel = new QLabel("PAKs, in loading order", group);
    paksLabel->setBuddy(cbPAKsList_);
    rows->insertWidget(0, paksLabel);
    paks->addWidget(cbPAKsList_, 1);
    paks->addWidget(add);
    paks->addWidget(remove);
    order->addStretch(1);
    order->addWidget(up);
    order->addWidget(down);
    connect(add, &QPushButton::clicked, this, [this] { Guarded([this] { AddPakCommand(); }); });
    connect(remove, &QPushButton::clicked, this,
            [this] { Guarded([this] { DeletePakCommand(); }); });
    connect(up, &QPushButton::clicked, this, [this] { Guarded([this] { MovePakCommand(-1); }); });
    connect(down, &QPushButton::clicked, this, [this] { Guarded([this] { MovePakCommand(1); }); });
    connect(cbPAKsList_, &QComboBox::currentIndexChanged, this, [this, up, down](int index) {
        const int count = assets_.Paks().Count();
        const bool listed = index >= 0 && index < count;
        cbPAKsList_->setToolTip(listed ? QString::fromStdString(assets_.Paks()[index].path)
                                       : QString());
        up->setEnabled(listed && index > 0);
        down->setEnabled(listed && index + 1 < count);
    });
    up->setEnabled(false);
    down->setEnabled(false);
    // Above the screenshot button and the stretch that end the page.
    auto* page = qobject_cast<QVBoxLayout*>(viewTab_->layout());
    page->insertWidget(page->count() - 2, group);
}

// At start-up, after the settings were read and no archive of theirs was found in use.
void TMainWindow::StartGameData() {
    std::vector<std::string> problems =
        assets_.AddPaksFromSettings(ToStrings(settingsPaks_), StatusReporter());
    for (std::string& problem : assets_.CreateWorkFolders())
        problems.push_back(std::move(problem));
    for (std::string& problem : assets_.RebuildShaderList(ToStrings(shaderList_)))
        problems.push_back(std::move(problem));
    RefreshPakList();
    cbShaderList_->addItems(shaderList_);
    cbShaderList_->setCurrentIndex(static_cast<int>(shaderList_.size()) - 1);
    EnableGameCommands();
    SetStatus("");
    if (!problems.empty())
        QTimer::singleShot(0, this, [this, problems] { ShowProblems(problems); });
}

void TMainWindow::EnableGameCommands() {
    const bool game = !assets_.GamePath().empty();
    actionFileLoadfrompk3_->setEnabled(game);
    actionFileSelectSkinfrompk3_->setEnabled(game);
    actionFileLoadfromgameMDMMDX_->setEnabled(game);
    if (auto* character = findChild<QAction*>("actionFileLoadCharacterFromGame"))
        character->setEnabled(game);
}

void TMainWindow::RefreshPakList(int selected) {
    {
        const QSignalBlocker quiet(cbPAKsList_);
        cbPAKsList_->clear();
        for (const TStrObject& pak : assets_.Paks().Paks())
            cbPAKsList_->addItem(QString::fromStdString(pak.name));
        cbPAKsList_->setCurrentIndex(-1);
    }
    // Through the signal, so the tool tip and the order buttons follow.
    const int count = cbPAKsList_->count();
    cbPAKsList_->setCurrentIndex(count > 0 ? std::clamp(selected, 0, count - 1) : 0);
    if (count == 0) emit cbPAKsList_->currentIndexChanged(-1);
}

void TMainWindow::SetGamePath(const QString& path) {
    SetStatus("");
    TShaderScanReport report;
    {
        // The view waits while the game's archives are scanned (callers may be busy already).
        const TCommandEnd restore([this, wasBusy = busy_] { busy_ = wasBusy; });
        busy_ = true;
        DialogProgress progress(this, "Scanning the game's archives for shaders...");
        assets_.SetGamePath(path.toStdString(), StatusReporter(), &report, &progress);
    }
    if (report.cancelled) SetStatus("Game path not changed: the scan was cancelled");
    ResolveSurfaces();
    EnableGameCommands();
    ShowProblems(report.problems);
}

// A cancel or a folder that is no game keeps the game that is set.
void TMainWindow::SelectGamePath() {
    if (!prompts_.chooseFolder) return;
    // The folder dialog has only its title for the caption, and a title is one line.
    const QString chosen = prompts_.chooseFolder(
        "Select path to \"Wolfenstein - Enemy Territory\" (If You do not have ET installed, "
        "just cancel this operation..)");
    if (chosen.isEmpty()) return;
    const std::string path = GamePathFromChosenFolder(chosen.toStdString());
    const std::optional<std::string> pak0 = GamePakPath(path);
    if (!pak0) {
        ShowProblems({"Not a game folder, no etmain/pak0.pk3 in it: " + chosen.toStdString()});
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TCommandEnd restore([] { QApplication::restoreOverrideCursor(); });
    // The new game's base archive takes the place of the previous game's.
    int position = 0;
    const int previous = BasePakIndex(assets_.Paks(), assets_.GamePath());
    if (previous >= 0 && assets_.Paks()[previous].path != *pak0) {
        assets_.DeletePak(previous);
        position = previous;
    }
    std::vector<std::string> problems;
    try {
        const int added = assets_.AddPak(*pak0, StatusReporter());
        if (added >= 0) assets_.MovePak(added, position);
        problems = assets_.CreateWorkFolders();
    } catch (const FileError& e) {
        // A broken base archive is reported; the game's folder of scripts still counts.
        problems.push_back(e.what());
    }
    RefreshPakList();
    ShowProblems(problems);
    SetGamePath(QString::fromStdString(path));
}

void TMainWindow::AddPakCommand() {
    if (!prompts_.openFile) return;
    int filterIndex = 0;
    const QString file = prompts_.openFile("Select a game PAK file",
                                           {"Game PAK Files (.pk3) (*.pk3 *.PK3)"}, filterIndex);
    if (file.isEmpty()) return;
    const int added = assets_.AddPak(file.toStdString(), StatusReporter());
    if (added < 0) return;  // the status says why
    const QString status = StatusText();
    ShowProblems(assets_.CreateWorkFolders());
    RefreshPakList();
    // The new archive's scripts count at once, not only after the next start.
    RescanGame();
    SetStatus(status);
}

void TMainWindow::DeletePakCommand() {
    const int index = cbPAKsList_->currentIndex();
    if (index < 0 || index >= assets_.Paks().Count()) return;
    const QString name = QString::fromStdString(assets_.Paks()[index].name);
    if (!assets_.DeletePak(index)) return;
    RefreshPakList();
    ResolveSurfaces();
    SetStatus("PAK-file deleted from the list: " + name);
}

void TMainWindow::MovePakCommand(int step) {
    const int from = cbPAKsList_->currentIndex();
    if (!assets_.MovePak(from, from + step)) return;
    const QString name = QString::fromStdString(assets_.Paks()[from + step].name);
    RefreshPakList(from + step);
    // Which of two scripts of one name counts follows the new order.
    if (assets_.GamePath().empty()) {
        ResolveSurfaces();
    } else {
        RescanGame();
    }
    SetStatus(QStringLiteral("PAK-file moved to place %1 of %2: ")
                  .arg(from + step + 1)
                  .arg(assets_.Paks().Count()) +
              name);
}

void TMainWindow::RescanGame() {
    if (assets_.GamePath().empty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TCommandEnd restore([] { QApplication::restoreOverrideCursor(); });
    SetGamePath(QString::fromStdString(assets_.GamePath()));
}

void TMainWindow::LoadMD3FromGameCommand() {
    SetStatus("");
    if (assets_.Paks().Empty()) return;
    const int result = pk3Dialog_->Browse(kPK3ModeMD3, PK3SourcesOf(assets_.Paks()), QString());
    const std::optional<TPK3Selection> chosen = pk3Dialog_->SelectedFile();
    if (result != QDialog::Accepted || !chosen) return;
    LoadMD3FromGameEntry(chosen->entryPath);
}

void TMainWindow::LoadMD3FromGameEntry(const std::string& entry) {
    SetStatus("");
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TModelDocument model;
    const TModelLoad load = LoadMD3FromGame(model.md3, assets_, entry);
    ShowProblems(load.problems);
    if (!load.ok) {
        status = "MD3 not loaded: " + QString::fromStdString(load.error);
        return;
    }
    model.source = kModelSourceGame;
    model.kind = kModelKindMD3;
    if (!ReplaceModel(std::move(model), status)) return;
    AfterArchiveLoad("GAME:\\\\" + QString::fromStdString(entry), QString::fromStdString(load.file),
                     "Save as MD3", {TRecentModel::Source::Game, {entry}, ""});
    FindMD3Levels(entry, [this](const std::string& level) {
        return ExtractFromGamePaks(assets_.Paks(), level, assets_.TmpDir()).path;
    });
    status = "MD3 loaded";
}

void TMainWindow::LoadMD3FromPK3Command() {
    SetStatus("");
    const std::optional<std::string> etmain = GameEtmainFolder(assets_.GamePath());
    const int result = pk3Dialog_->Browse(kPK3ModeArchiveFile, {},
                                          etmain ? QString::fromStdString(*etmain) : QString());
    const std::optional<TPK3Selection> chosen = pk3Dialog_->SelectedFile();
    if (result != QDialog::Accepted || !chosen || chosen->chosenArchive.empty()) return;
    LoadMD3FromPK3Entry(chosen->chosenArchive, chosen->entryPath);
}

void TMainWindow::LoadMD3FromPK3Entry(const std::string& archive, const std::string& entry) {
    SetStatus("");
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Reading the entry makes its archive the map archive; a failure gives the loaded
    // model its own back.
    const std::string previousArchive = assets_.MapArchive();
    TModelDocument model;
    const TModelLoad load =
        LoadMD3FromMapArchive(model.md3, assets_, archive, entry, StatusReporter());
    ShowProblems(load.problems);
    model.source = kModelSourcePk3;
    model.kind = kModelKindMD3;
    if (!load.ok || !ReplaceModel(std::move(model), status)) {
        if (!load.ok) status = "MD3 not loaded: " + QString::fromStdString(load.error);
        RestoreMapArchive(previousArchive);
        return;
    }
    // The new model's texturing starts afresh, map archive included.
    ShowProblems(assets_.UseMapArchive(archive, StatusReporter()));
    AfterArchiveLoad("MAP:\\\\" + QString::fromStdString(entry), QString::fromStdString(load.file),
                     "Save as MD3", {TRecentModel::Source::Pk3, {entry}, archive});
    // The game finds a level in the map's archive or in any of its own.
    FindMD3Levels(entry, [this, archive](const std::string& level) {
        const std::string inMap = ExtractFromArchive(archive, level, assets_.MapDir()).path;
        return !inMap.empty() ? inMap
                              : ExtractFromGamePaks(assets_.Paks(), level, assets_.TmpDir()).path;
    });
    status = "MD3 loaded";
}

void TMainWindow::LoadMDMMDXFromGameCommand() {
    SetStatus("");
    if (assets_.Paks().Empty()) return;
    const std::vector<TPK3Source> paks = PK3SourcesOf(assets_.Paks());
    const auto choose = [&](int mode) -> std::optional<TPK3Selection> {
        if (pk3Dialog_->Browse(mode, paks, QString()) != QDialog::Accepted) return std::nullopt;
        return pk3Dialog_->SelectedFile();
    };
    // Both are chosen before anything is reset, so a cancel keeps the model that is loaded.
    const std::optional<TPK3Selection> mesh = choose(kPK3ModeMDM);
    if (!mesh) return;
    const std::string meshFolder = pk3Dialog_->entryFolder;
    const std::optional<TPK3Selection> anim = choose(kPK3ModeMDX);
    if (!anim) return;
    const auto from = [this](const std::string& pak) {
        return [this, pak](const std::string& entry, std::vector<std::string>& problems) {
            TEntryExtraction extraction = ExtractFromArchive(pak, entry, assets_.TmpDir());
            problems.insert(problems.end(), extraction.problems.begin(), extraction.problems.end());
            return extraction.path;
        };
    };
    // Skins and shaders are looked for beside the mesh, not the animation.
    pk3Dialog_->entryFolder = meshFolder;
    LoadMDMMDXFromGameEntries(mesh->entryPath, anim->entryPath, from(mesh->sourcePak),
                              from(anim->sourcePak));
}

void TMainWindow::LoadMDMMDXFromGameEntries(const std::string& meshEntry,
                                            const std::string& animEntry,
                                            const TEntryExtractor& extractMesh,
                                            const TEntryExtractor& extractAnim) {
    SetStatus("");
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    QApplication::setOverrideCursor(Qt::WaitCursor);

    std::vector<std::string> problems;
    const std::string meshFile = extractMesh(meshEntry, problems);
    const std::string animFile = extractAnim(animEntry, problems);
    // The animation's list of names, when its PAK has one; one left by an earlier extraction
    // would name the frames of another animation.
    const std::string list = WithExtension(animEntry, ".aninc");
    std::error_code ec;
    std::filesystem::remove(assets_.TmpDir() + list, ec);
    extractAnim(list, problems);
    ShowProblems(problems);
    if (meshFile.empty() || animFile.empty()) {
        const std::string& missing = meshFile.empty() ? meshEntry : animEntry;
        status = QString::fromStdString("MDM/MDX not loaded: \"" + missing +
                                        "\" could not be taken out of the game's PAKs");
        return;
    }
    TModelDocument model;
    if (!LoadMDMMDXFiles(model, QString::fromStdString(meshFile), QString::fromStdString(animFile),
                         status))
        return;
    model.source = kModelSourceGame;
    if (!ReplaceModel(std::move(model), status)) return;
    ShowAnimationNames(QString::fromStdString(animFile), status);
    AfterArchiveLoad("GAME:\\\\" + QString::fromStdString(meshEntry),
                     QString::fromStdString(meshFile), "Save as MDM/MDX",
                     {TRecentModel::Source::Game, {meshEntry, animEntry}, ""});
    // Without a skin the player is white: the first of its class's skins is put on.
    OfferClassSkins(meshEntry);
    if (!classSkins_.empty())
        status += QStringLiteral("; skin \"%1\" (%2 offered)")
                      .arg(cbClassSkins_->currentText())
                      .arg(classSkins_.size());
}

// What a load out of an archive shows; the model folder stays empty, so images beside the
// extracted copy are not taken for the model's own.
void TMainWindow::AfterArchiveLoad(const QString& name, const QString& fileName,
                                   const QString& saveHint, const TRecentModel& recent) {
    EnableModelCommands();
    panels_->RefreshMD3Panels(document_.kind);
    panels_->RefreshSkeletalPanels(document_.kind);
    ShowFamily();
    panels_->NameField()->setText(name);
    document_.name = QFileInfo(fileName).fileName().toStdString();
    ShowUndoState();
    ResetAnimationControls();
    if (!view_.lockView) ResetView();
    TextureLoadedModel(QString());
    actionFileSaveAs_->setToolTip(saveHint);
    RememberRecent(recent);
}
