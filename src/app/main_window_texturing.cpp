// Texturing the loaded model: the resolution of every surface's shader and the upload of its
// images, the "&Texturing" menu (skins and the shader list), skins dropped on the window and
// shader names entered on the "Surfaces" page.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <set>
#include <utility>

#include "app/main_window.h"
#include "app/menu_action.h"
#include "app/model_panels.h"
#include "app/pk3_dialog.h"
#include "app/texture_panel.h"
#include "assets/archive_loads.h"
#include "assets/archive_names.h"
#include "assets/embed_skin.h"
#include "assets/surface_resolution.h"
#include "render/gl/stage_textures.h"

namespace {

const char* const kSkinFilter = "Quake 3 model Skins  (*.skin) (*.skin *.SKIN)";
const char* const kShaderFilter = "Shader-file  (.shader) (*.shader *.SHADER)";

}  // namespace

void TMainWindow::BuildTexturing() {
    pk3Dialog_.SetBuilder([this] { return new TdlgPK3(this); });
    texturePanel_ = new TTexturePanel(*panels_, shaders_, this);
    cbShaderList_ = texturePanel_->ShaderListCombo();
    BuildGameGroup();
    BuildTexturingMenu();
    // Beside the command texts, which would otherwise replace it.
    lMissingTextures_ = new QLabel(this);
    lMissingTextures_->setObjectName("lMissingTextures");
    lMissingTextures_->hide();
    statusBar()->addPermanentWidget(lMissingTextures_);
    connect(panels_, &TModelPanels::surfaceSelected, this,
            [this] { ShowSelectedSurfaceTexturing(); });
    // Skin lines are matched by surface name, and the missing textures are named by it.
    connect(panels_, &TModelPanels::surfaceRenamed, this,
            [this] { Guarded([this] { ResolveSurfaces(); }); });
    connect(panels_, &TModelPanels::shaderNameEntered, this,
            [this](int surface, const QString& name) {
                Guarded([this, surface, name] {
                    Undoable("Rename Shader", [&] { EnterShaderName(surface, name); });
                });
            });
    if (auto* alpha = viewTab_->findChild<QCheckBox*>("cbAlphaPreview")) {
        connect(alpha, &QCheckBox::toggled, this, [this](bool on) {
            texturePanel_->alphaPreview = on;
            texturePanel_->RefreshPreview();
        });
    }
}

void TMainWindow::BuildTexturingMenu() {
    auto run = [this](QAction* action, void (TMainWindow::*command)()) {
        connect(action, &QAction::triggered, this,
                [this, command] { Guarded([this, command] { (this->*command)(); }); });
    };
    actionFileLoadfrompk3_ = MakeAction(this, "actionFileLoadfrompk3", "Load MD3 From &Game...");
    actionFileLoadfrommappk3_ =
        MakeAction(this, "actionFileLoadfrommappk3", "Load MD3 From &PK3...");
    actionFileLoadfromgameMDMMDX_ =
        MakeAction(this, "actionFileLoadfromgameMDMMDX", "Load MDM/MDX From Game...");
    run(actionFileLoadfrompk3_, &TMainWindow::LoadMD3FromGameCommand);
    run(actionFileLoadfrommappk3_, &TMainWindow::LoadMD3FromPK3Command);
    run(actionFileLoadfromgameMDMMDX_, &TMainWindow::LoadMDMMDXFromGameCommand);
    // Each beside the command that loads the same kind from a file.
    if (auto* file = menuBar()->findChild<QMenu*>("menuFile")) {
        const auto insertAfter = [file](const char* name, QList<QAction*> actions) {
            const QList<QAction*> entries = file->actions();
            qsizetype at = -1;
            for (qsizetype i = 0; i < entries.size(); ++i) {
                if (entries[i]->objectName() == name) at = i;
            }
            file->insertActions(at >= 0 && at + 1 < entries.size() ? entries[at + 1] : nullptr,
                                actions);
        };
        insertAfter("actionFileLoad", {actionFileLoadfrompk3_, actionFileLoadfrommappk3_});
        insertAfter("actionFileLoadMDMMDX", {actionFileLoadfromgameMDMMDX_});
    }

    auto* texturing = new QMenu("&Texturing", this);
    texturing->setObjectName("menuTexturing");
    menuBar()->insertMenu(menuView_->menuAction(), texturing);
    QMenu* skin = texturing->addMenu("Skin");
    skin->setObjectName("menuTexturingSkin");
    actionFileSelectSkinfrompk3_ =
        MakeAction(this, "actionFileSelectSkinfrompk3", "From &Game...", "Ctrl+T");
    QAction* fromFile =
        MakeAction(this, "actionFileSelectSkinfromfile", "From &File...", "Ctrl+Shift+T");
    actionModelSkinpermanent_ =
        MakeAction(this, "actionModelSkinpermanent", "Embed Skin Into Model", "Ctrl+E");
    QAction* clear = MakeAction(this, "actionSkinClear", "&Clear");
    run(actionFileSelectSkinfrompk3_, &TMainWindow::SkinFromGameCommand);
    run(fromFile, &TMainWindow::SkinFromFileCommand);
    connect(actionModelSkinpermanent_, &QAction::triggered, this, [this] {
        Guarded([this] { Undoable(actionModelSkinpermanent_, [this] { EmbedSkinCommand(); }); });
    });
    run(clear, &TMainWindow::ClearSkinCommand);
    skin->addActions({actionFileSelectSkinfrompk3_, fromFile, actionModelSkinpermanent_, clear});
    actionModelSkinpermanent_->setEnabled(false);

    QMenu* shaderList = texturing->addMenu("Shaderlist");
    shaderList->setObjectName("menuTexturingShaderlist");
    QAction* addFile = MakeAction(this, "actionShaderlistAdd", "Add File...");
    QAction* clearList = MakeAction(this, "actionShaderlistClear", "Clear");
    run(addFile, &TMainWindow::AddShaderFileCommand);
    run(clearList, &TMainWindow::ClearShaderListCommand);
    shaderList->addActions({addFile, clearList});
}

TModelOrigin TMainWindow::ModelOrigin() const {
    return {document_.source == kModelSourceFile, document_.folder, md3DialogFolder_.toStdString()};
}

void TMainWindow::TextureLoadedModel(const QString& dialogFolder) {
    if (!dialogFolder.isEmpty()) md3DialogFolder_ = dialogFolder;
    UseDocumentSkin();
    ResolveSurfaces();
}

void TMainWindow::ForgetTexturing() {
    assets_.ClearMapShaderFiles();
    assets_.ForgetMapArchive();
    assets_.ClearSkin();
    ForgetSkin();
    if (ogl_.IsReady()) ogl_.MakeCurrent();
    shaders_.ClearShaders();
    texturePanel_->Empty();
    ShowMissingTextures({});
}

void TMainWindow::RestoreMapArchive(const std::string& archive) {
    if (assets_.MapArchive() == archive) return;
    if (archive.empty()) {
        assets_.ClearMapShaderFiles();
        assets_.ForgetMapArchive();
        return;
    }
    ShowProblems(assets_.UseMapArchive(archive, StatusReporter()));
}

void TMainWindow::ResolveSurfaces() {
    // The resolution shows its progress; what the command reported before stays.
    const QString status = StatusText();
    const bool gl = ogl_.IsReady();
    // The old stage textures are deleted and the new ones made in the view's context.
    if (gl) ogl_.MakeCurrent();
    const TModelOrigin origin = ModelOrigin();
    std::vector<TSurfaceShaderRef> surfaces;
    if (IsMD3Family(document_.kind)) surfaces = MD3SurfaceShaderRefs(document_.md3);
    if (IsSkeletalFamily(document_.kind)) surfaces = MDMSurfaceShaderRefs(document_.mdm);
    const TSurfaceResolution resolution =
        ResolveSurfaceShaders(surfaces, assets_, origin, shaders_, StatusReporter());
    // Without a game nothing is resolved, and the model keeps the indexes its file holds, so
    // that it is saved back as it was read.
    if (IsMD3Family(document_.kind) && !assets_.Indexes().game.empty())
        SetMD3ShaderIndices(document_.md3, resolution);
    // A mesh's indexes are cleared when it is read, so they are only ever the store's.
    if (IsSkeletalFamily(document_.kind)) SetMDMShaderIndices(document_.mdm, resolution);
    texturePanel_->SetResolution(resolution);
    std::vector<std::string> problems = resolution.problems;
    if (gl) {
        for (std::string& problem :
             CreateStageTextures(shaders_, textures_, static_cast<float>(gamma_), assets_, origin,
                                 StatusReporter()))
            problems.push_back(std::move(problem));
        // The body's store may have deleted a texture an accessory shared with it.
        for (std::string& problem : TextureAttachments())
            problems.push_back(std::move(problem));
        for (std::string& problem : TextureMD3Level())
            problems.push_back(std::move(problem));
    }
    // Stage images are looked for only with the view's context, and without a game nothing
    // is looked for at all: then no texture counts as missing.
    ShowMissingTextures(gl && !assets_.Indexes().game.empty()
                            ? MissingSurfaceTextures(surfaces, resolution, shaders_, assets_.Skin())
                            : std::vector<TSurfaceMissingTextures>{});
    ShowSelectedSurfaceTexturing();
    RedrawView();
    SetStatus(status);
    ShowProblems(problems);
}

void TMainWindow::ShowSelectedSurfaceTexturing() {
    const int surface = panels_->SelectedSurface();
    int shaderIndex = -1;
    QString skinPath;
    std::string surfaceName;
    TSkinNaming naming = TSkinNaming::VertexModel;
    if (IsMD3Family(document_.kind) && document_.md3.ValidSurface(surface)) {
        const TSurface& s = document_.md3.header.surfaces[static_cast<std::size_t>(surface)];
        if (!s.shaders.empty()) shaderIndex = s.shaders[0].shaderIndex;
        surfaceName = NameFieldText(s.name);
    } else if (IsSkeletalFamily(document_.kind) && document_.mdm.ValidSurface(surface)) {
        const TMDMSurface& s = document_.mdm.surfaces[static_cast<std::size_t>(surface)];
        shaderIndex = s.shaderIndex;
        surfaceName = NameFieldText(s.name);
        naming = TSkinNaming::Skeletal;
    }
    if (const TSkinRec* rec = FindSkinRec(assets_.Skin(), surfaceName, naming))
        skinPath = QString::fromStdString(rec->path);
    texturePanel_->gamma = static_cast<float>(gamma_);
    texturePanel_->ShowSurface(surface, shaderIndex, skinPath);
}

void TMainWindow::ShowProblems(const std::vector<std::string>& problems) {
    if (problems.empty() || !prompts_.message) return;
    // The same damaged entry may be met by several lookups.
    std::set<std::string> seen;
    QStringList lines;
    for (const std::string& problem : problems) {
        if (seen.insert(problem).second) lines << QString::fromStdString(problem);
    }
    prompts_.message("Veldra", lines.join('\n'), true);
}

void TMainWindow::ShowMissingTextures(const std::vector<TSurfaceMissingTextures>& missing) {
    QStringList lines;
    QStringList surfaces;
    for (const TSurfaceMissingTextures& m : missing) {
        lines << QString::fromStdString(MissingTexturesLine(m));
        surfaces << QString::fromStdString(m.surface);
    }
    texturePanel_->SetMissingTextures(lines);
    // The first few names say which; the tab and the tooltip have every line.
    constexpr int kNamesShown = 3;
    QString text = QStringLiteral("Textures not found for %1 surface(s): ").arg(surfaces.size()) +
                   surfaces.mid(0, kNamesShown).join(", ");
    if (surfaces.size() > kNamesShown)
        text += QStringLiteral(" and %1 more").arg(surfaces.size() - kNamesShown);
    lMissingTextures_->setText(missing.empty() ? QString() : text);
    lMissingTextures_->setToolTip(lines.join('\n'));
    lMissingTextures_->setVisible(!missing.empty());
}

// --- skins -------------------------------------------------------------------------------

void TMainWindow::ForgetSkin() {
    texturePanel_->SetSkinFile("");
    panels_->SkinField()->clear();
    EnableEmbedSkin();
}

void TMainWindow::EnableEmbedSkin() {
    actionModelSkinpermanent_->setEnabled(!assets_.Skin().empty() && !document_.Empty());
}

void TMainWindow::UseDocumentSkin() {
    // A file that is not there leaves the model without skin; one that cannot be read
    // throws with the table emptied, and leaves none too.
    const std::string file = std::exchange(document_.skinFile, {});
    if (!file.empty() && assets_.LoadSkin(file)) {
        document_.skinFile = file;
    } else {
        assets_.ClearSkin();
    }
    texturePanel_->SetSkinFile(
        document_.skinFile.empty()
            ? QString()
            : QFileInfo(QString::fromStdString(document_.skinFile)).fileName());
    panels_->SkinField()->clear();
    EnableEmbedSkin();
}

void TMainWindow::LoadSkinFile(const QString& fileName) {
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    document_.skinFile = fileName.toStdString();
    UseDocumentSkin();
    ResolveSurfaces();
    SetStatus(!document_.skinFile.empty() ? QString("Skin loaded")
                                          : "Skin file not found: " + fileName);
}

void TMainWindow::SkinFromFileCommand() {
    QString fileName = presetFileName_;
    if (!skipDialog_) {
        int filterIndex = 0;
        fileName = prompts_.openFile
                       ? prompts_.openFile("Select a skin to load", {kSkinFilter}, filterIndex)
                       : QString();
    }
    if (fileName.isEmpty()) return;
    LoadSkinFile(fileName);
}

void TMainWindow::LoadSkinFromDrop(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { SkinFromFileCommand(); });
    skipDialog_ = false;
}

void TMainWindow::SkinFromGameCommand() {
    if (assets_.Paks().Empty()) return;
    const int result = pk3Dialog_->Browse(kPK3ModeSkin, PK3SourcesOf(assets_.Paks()), QString());
    const std::optional<TPK3Selection> chosen = pk3Dialog_->SelectedFile();
    if (result != QDialog::Accepted || !chosen) return;
    const TEntryExtraction extraction =
        ExtractFromArchive(chosen->sourcePak, chosen->entryPath, assets_.TmpDir());
    ShowProblems(extraction.problems);
    // A copy left by an earlier extraction is not this entry.
    if (!extraction.ok()) return;
    LoadSkinFile(QString::fromStdString(extraction.path));
}

void TMainWindow::ClearSkinCommand() {
    document_.skinFile.clear();
    ForgetSkin();
    if (assets_.ClearSkin()) ResolveSurfaces();
    EnableEmbedSkin();
}

void TMainWindow::EmbedSkinCommand() {
    if (assets_.Skin().empty() || document_.Empty() || !prompts_.askYesNoCancel) return;
    if (prompts_.askYesNoCancel("Confirmation",
                                "Copy the shaders/textures from the currently loaded "
                                "skin-file?..") != TAnswer::Yes)
        return;
    const int surface = panels_->SelectedSurface();
    const int written = IsSkeletalFamily(document_.kind) ? EmbedSkin(document_.mdm, assets_.Skin())
                                                         : EmbedSkin(document_.md3, assets_.Skin());
    RefreshFamilyPanels(surface);
    if (written > 0) MarkModelChanged();
    SetStatus(QStringLiteral("Skin embedded into %1 surface(s)").arg(written));
}

// --- shader list and shader names ----------------------------------------------------------

void TMainWindow::RebuildShaderList() {
    const std::vector<std::string> problems = assets_.RebuildShaderList(
        [this] {
            std::vector<std::string> files;
            for (const QString& file : shaderList_)
                files.push_back(file.toStdString());
            return files;
        }(),
        StatusReporter());
    cbShaderList_->clear();
    cbShaderList_->addItems(shaderList_);
    cbShaderList_->setCurrentIndex(static_cast<int>(shaderList_.size()) - 1);
    ShowProblems(problems);
    ResolveSurfaces();
}

void TMainWindow::AddShaderFileCommand() {
    int filterIndex = 0;
    // The general loader has chosen the file already.
    const QString file = skipDialog_         ? presetFileName_
                         : prompts_.openFile ? prompts_.openFile("Select a shader-file",
                                                                 {kShaderFilter}, filterIndex)
                                             : QString();
    if (file.isEmpty()) return;
    shaderList_ << file;
    RebuildShaderList();
    SetStatus("Shader-file added to the shader list: " + QFileInfo(file).fileName());
}

void TMainWindow::ClearShaderListCommand() {
    shaderList_.clear();
    RebuildShaderList();
}

void TMainWindow::EnterShaderName(int surface, const QString& name) {
    const std::string text = name.toLatin1().toStdString();
    if (IsSkeletalFamily(document_.kind) && document_.mdm.ValidSurface(surface)) {
        document_.mdm.SetSurfaceShader(surface, text);
    } else if (IsMD3Family(document_.kind) && document_.md3.ValidSurface(surface)) {
        TSurface& s = document_.md3.header.surfaces[static_cast<std::size_t>(surface)];
        // A surface without a shader record has no place for the name.
        if (s.shaders.empty()) return;
        SetName64(text, s.shaders[0].name);
    } else {
        return;
    }
    MarkModelChanged();
    RefreshFamilyPanels(surface);
    ResolveSurfaces();
}

void TMainWindow::RefreshFamilyPanels(int surface) {
    if (IsSkeletalFamily(document_.kind)) {
        panels_->RefreshSkeletalPanels(document_.kind);
    } else {
        panels_->RefreshMD3Panels(document_.kind);
    }
    panels_->SurfaceList()->setCurrentIndex(surface);
    ShowSelectedSurfaceTexturing();
}
