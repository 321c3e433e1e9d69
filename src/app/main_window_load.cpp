// Loading dispatch: the MD3 command, the general loader, dropped files, "Save As" and
// "Clear", with the common frame every whole-model load runs in.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

#include "app/animation_controls.h"
#include "app/command_end.h"
#include "app/gl_view_widget.h"
#include "app/lod_panel.h"
#include "app/main_window.h"
#include "app/model_file_filters.h"
#include "app/model_panels.h"
#include "io/file_names.h"

namespace {

// The game looks files up case-sensitively on Linux, and its own models end in ".md3".
const char* const kSavedMD3Suffix = "md3";

// The general loader's filter entries, by their 1-based index. Formats arrive here with the
// loaders that read them; until then their entries are not offered.
enum AnyFileEntry {
    kAnyAllSupported = 1,
    kAnyMD3 = 2,
    kAnyMDM = 3,
    kAnyMDX = 4,
    kAnyMDXBones = 5,
    kAnyMDXFrames = 6,
    kAnyMDMTags = 7,
    kAnyMDS = 8,
    kAnyMap = 9,
    kAnyMS3D = 10,
    kAnyASE = 11,
    kAnySkin = 12,
    kAnyTags = 13,
    kAnyShader = 14,
    kAnyMDC = 15,
    // Chosen by their names under "All Supported Models" only.
    kAnyCharacter = 16,
    kAnyArchive = 17,
    kAnyGltf = 18
};

struct AnyFilter {
    AnyFileEntry entry;
    const char* text;
};

const AnyFilter kAnyFilters[] = {
    {kAnyAllSupported,
     "All Supported Models (*.MD3 *.md3 *.MDC *.mdc *.MDM *.mdm *.MDX *.mdx *.MDS *.mds "
     "*.MAP *.map *.MS3D *.ms3d *.ASE *.ase *.GLB *.glb *.GLTF *.gltf *.CHAR *.char *.TAG *.tag "
     "*.SKIN *.skin *.PK3 *.pk3)"},
    {kAnyMD3, "Quake3 Model  (.MD3) (*.MD3 *.md3)"},
    {kAnyMDM, "ET Player Model  (.MDM) (*.MDM *.mdm)"},
    {kAnyMDX, "ET Player Animation  (.MDX) (*.MDX *.mdx)"},
    {kAnyMDXBones, "ET Player Animation Bones  (.MDX) (*.MDX *.mdx)"},
    {kAnyMDXFrames, "ET Player Animation Frames  (.MDX) (*.MDX *.mdx)"},
    // Tags are read from another mesh, whatever the entry's name says.
    {kAnyMDMTags, "ET Player Animation Tags  (.MDX) (*.MDM *.mdm)"},
    {kAnyMDS, "ET Model  (.MDS) (*.MDS *.mds)"},
    {kAnyMap, "Quake Map  (.MAP) (*.MAP *.map)"},
    {kAnyMS3D, "MilkShape Model  (.MS3D) (*.MS3D *.ms3d)"},
    {kAnyASE, "3DSMax ASCII (.ASE) (*.ASE *.ase)"},
    {kAnySkin, "Model Skin  (*.skin) (*.skin *.SKIN)"},
    {kAnyTags, "Model Tags  (*.tag) (*.tag *.TAG)"},
    {kAnyShader, "Shader-file  (.shader) (*.shader *.SHADER)"},
    {kAnyMDC, kMDCFilter},
    {kAnyGltf, "glTF 2.0 Model  (.GLB, .GLTF) (*.GLB *.glb *.GLTF *.gltf)"},
};

QString UpperSuffix(const QString& fileName) {
    return QString::fromStdString(UpperCaseExtension(fileName.toStdString()));
}

}  // namespace

// Every command ends the same way: no longer busy, the view drawn, the cursor back, and the
// status text the command collected shown.
void TMainWindow::EndCommand(const QString* status) {
    busy_ = false;
    skipDialog_ = false;
    RedrawView();
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    if (status != nullptr) SetStatus(*status);
}

int TMainWindow::CurrentFrame() const {
    return animation_ != nullptr ? animation_->CurrentFrame() : 0;
}

void TMainWindow::ResetLodAndAnimationNames() {
    if (lodPanel_ != nullptr) lodPanel_->ResetForLoad();
    cbLODEnabled_->setChecked(false);
    animation_->SetAnimations({});
    document_.characterGroup.reset();
}

void TMainWindow::ForgetModel() {
    document_ = TModelDocument{};
    // A copy taken for an edit in progress belongs to the model that is gone.
    renameSnapshot_.reset();
    lodSnapshot_.reset();
    ForgetMD3Levels();
    ForgetTexturing();
    ForgetClassSkins();
    // Names of an animation that is gone would choose frames of nothing.
    animation_->SetAnimations({});
    panels_->EmptyPanels();
    panels_->RefreshSkeletalPanels(document_.kind);
    EnableModelCommands();
    ShowFamily();
    ShowUndoState();
}

void TMainWindow::ResetEnvironment() {
    ForgetModel();
    panels_->NameField()->clear();
    animation_->ResetAnimationControls(0);
    tLODpresence_->setText("info");
    if (ogl_.IsReady()) {
        ogl_.MakeCurrent();
        renderer_.MD3Drawer().ResetTextureUnits();
    }
}

void TMainWindow::ShowFamily() {
    panels_->ShowTabsOfFamily(document_.kind);
    gbLOD_->setEnabled(IsSkeletalFamily(document_.kind));
}

void TMainWindow::EnableModelCommands() {
    actionModelClear_->setEnabled(!document_.Empty());
    EnableEditCommands();
}

void TMainWindow::ResetAnimationControls() {
    animation_->SetModelKind(document_.kind);
    animation_->ResetAnimationControls(document_.Empty() ? 0 : document_.FrameCount());
}

void TMainWindow::OnTimerTick() {
    animation_->Tick(ViewShown());
    if (!isMinimized()) RedrawView();
}

void TMainWindow::RunLoadFrame(const std::function<QString()>& chooseFile, const TReadFile& read,
                               const QString& saveHint,
                               const std::function<bool(const QString&)>& prepare) {
    busy_ = true;
    const TCommandEnd end([this] { EndCommand(nullptr); });
    const QString fileName = skipDialog_ ? presetFileName_ : chooseFile();
    // A cancelled dialog leaves the model, its unsaved edits and the status text as they were.
    if (fileName.isEmpty()) return;
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (prepare && !prepare(fileName)) return;
    TModelDocument model;
    QString status;
    if (read(fileName, model, status) && ReplaceModel(std::move(model), status)) {
        AfterModelLoaded(fileName, status, saveHint);
    } else {
        SetStatus(status);
    }
}

bool TMainWindow::ReplaceModel(TModelDocument&& model, QString& status) {
    if (!SettleUnsavedChanges()) {
        status = "Not loaded: the changes to the loaded model are kept";
        return false;
    }
    ResetLodAndAnimationNames();
    ResetEnvironment();
    document_ = std::move(model);
    // Levels of detail belong to the model they were found beside.
    ForgetMD3Levels();
    return true;
}

bool TMainWindow::LoadMD3File(TModelDocument& model, const QString& fileName, QString& status) {
    if (!model.md3.LoadFromFile(fileName.toStdString())) {
        // The reader knows why; a modder needs that to mend the file.
        status = "MD3 not loaded: " + QString::fromStdString(model.md3.LastError());
        return false;
    }
    model.source = kModelSourceFile;
    model.kind = kModelKindMD3;
    status = "MD3 loaded";
    return true;
}

void TMainWindow::AfterModelLoaded(const QString& fileName, const QString& status,
                                   const QString& saveHint) {
    EnableModelCommands();
    panels_->RefreshMD3Panels(document_.kind);
    panels_->RefreshSkeletalPanels(document_.kind);
    ShowFamily();
    const QFileInfo file(fileName);
    document_.folder = (file.absolutePath() + "/").toStdString();
    document_.name = file.fileName().toStdString();
    if (document_.source == kModelSourceFile)
        document_.file = file.absoluteFilePath().toStdString();
    panels_->NameField()->setText(fileName);
    ShowUndoState();
    ResetAnimationControls();
    if (!view_.lockView) ResetView();
    TextureLoadedModel(QString::fromStdString(document_.folder));
    if (document_.source == kModelSourceFile)
        FindMD3Levels(fileName.toStdString(), &FindFileOnDisk);
    SetStatus(status);
    actionFileSaveAs_->setToolTip(saveHint);
    if (pendingRecent_) {
        RememberRecent(*std::exchange(pendingRecent_, std::nullopt));
    } else {
        TRecentModel recent{
            TRecentModel::Source::File, {file.absoluteFilePath().toStdString()}, ""};
        if (!document_.animationFile.empty()) recent.paths.push_back(document_.animationFile);
        RememberRecent(recent);
    }
}

void TMainWindow::LoadMD3Command() {
    RunLoadFrame(
        [this] {
            int filterIndex = 0;
            return prompts_.openFile ? prompts_.openFile("Select a model to load",
                                                         {kMD3Filter, kMDCFilter}, filterIndex)
                                     : QString();
        },
        [this](const QString& fileName, TModelDocument& model, QString& status) {
            return LoadMD3File(model, fileName, status);
        },
        "Save as MD3");
}

void TMainWindow::LoadMD3FromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadMD3Command(); });
    skipDialog_ = false;
}

void TMainWindow::LoadAnyFromFileCommand() {
    busy_ = true;
    // Stays unset after a cancel, so the status bar keeps what it showed.
    std::optional<QString> status;
    const TCommandEnd end([this, &status] { EndCommand(status ? &*status : nullptr); });

    QStringList filters;
    for (const AnyFilter& f : kAnyFilters)
        filters << f.text;
    int filterIndex = 0;  // the dialog starts at the first entry
    const QString fileName = prompts_.openFile
                                 ? prompts_.openFile("Select a model to load", filters, filterIndex)
                                 : QString();
    if (fileName.isEmpty()) return;
    status.emplace();
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    AnyFileEntry entry =
        kAnyFilters[std::clamp(filterIndex, 0, int(std::size(kAnyFilters)) - 1)].entry;
    if (entry == kAnyAllSupported) {
        const QString suffix = UpperSuffix(fileName);
        entry = suffix == ".MD3" || suffix == ".MDC" ? kAnyMD3
                : suffix == ".MDM"                   ? kAnyMDM
                : suffix == ".MDX"                   ? kAnyMDX
                : suffix == ".MDS"                   ? kAnyMDS
                : suffix == ".MAP"                   ? kAnyMap
                : suffix == ".MS3D"                  ? kAnyMS3D
                : suffix == ".ASE"                   ? kAnyASE
                : suffix == ".SKIN"                  ? kAnySkin
                : suffix == ".TAG"                   ? kAnyTags
                : suffix == ".SHADER"                ? kAnyShader
                : suffix == ".CHAR"                  ? kAnyCharacter
                : suffix == ".PK3"                   ? kAnyArchive
                                                     : kAnyAllSupported;
        if (suffix == ".GLB" || suffix == ".GLTF") entry = kAnyGltf;
    }
    // A map is converted while the loaded model is still there, so that a cancel keeps it.
    TConvertedMap map;
    if (entry == kAnyMap) {
        map = ConvertMapFile(fileName);
        if (map.result == TConvertedMap::Result::Cancelled) {
            *status = map.status;
            return;
        }
    }
    const QString name = QFileInfo(fileName).fileName();
    switch (entry) {
        case kAnyMD3:
        case kAnyMDC:
        case kAnyMDM:
        case kAnyMDS:
        case kAnyMap:
        case kAnyMS3D:
        case kAnyASE:
        case kAnyGltf: {
            TModelDocument model;
            // A compressed model reads into the same model as an MD3.
            const bool read = entry == kAnyMD3 || entry == kAnyMDC
                                  ? LoadMD3File(model, fileName, *status)
                              : entry == kAnyMDM  ? LoadMDMFile(model, fileName, *status)
                              : entry == kAnyMDS  ? LoadMDSFile(model, fileName, *status)
                              : entry == kAnyMap  ? TakeConvertedMap(map, model, *status)
                              : entry == kAnyMS3D ? LoadMS3DFile(model, fileName, *status)
                              : entry == kAnyGltf ? LoadGltfFile(model, fileName, *status)
                                                  : LoadASEFile(model, fileName, *status);
            if (!read || !ReplaceModel(std::move(model), *status)) break;
            // The hint says what "Save As" writes, and that follows the model's family.
            AfterModelLoaded(fileName, *status,
                             IsSkeletalFamily(document_.kind) ? QStringLiteral("Save as MDM/MDX")
                                                              : QStringLiteral("Save as MD3"));
            break;
        }
        case kAnyMDX:
        case kAnyMDXBones:
        case kAnyMDXFrames:
        case kAnyMDMTags: {
            // Parts of a skeletal model need the model they belong to.
            if (!IsSkeletalFamily(document_.kind)) {
                *status = "Not loaded: " + name + ": load the MDM/MDX model it belongs to first";
                break;
            }
            const TPartialLoad part = entry == kAnyMDX         ? TPartialLoad::Animation
                                      : entry == kAnyMDXBones  ? TPartialLoad::Bones
                                      : entry == kAnyMDXFrames ? TPartialLoad::Frames
                                                               : TPartialLoad::Tags;
            // A part loaded into the player is an edit of it, as from the "File" menu: the
            // model keeps its name, and the change can be taken back.
            const QString undoName = part == TPartialLoad::Animation ? "Load MDX From File"
                                     : part == TPartialLoad::Bones   ? "Load MDX Bones From File"
                                     : part == TPartialLoad::Frames  ? "Load MDX Frames From File"
                                                                     : "Load MDM Tags From File";
            Undoable(undoName, [&] {
                if (LoadPartFile(part, fileName, *status)) ShowLoadedPart(part);
            });
            break;
        }
        case kAnySkin:
            // The skin textures the model that is loaded; its name and folder stay.
            LoadSkinFile(fileName);
            *status = StatusText();
            break;
        case kAnyTags:
            // Tags are added to the loaded MD3 model, as its "Tags" page does it.
            if (!IsMD3Family(document_.kind)) {
                *status = "Not loaded: " + name + ": tags are added to a loaded MD3 model";
                break;
            }
            presetFileName_ = fileName;
            skipDialog_ = true;
            Undoable(QStringLiteral("Add Tags From File"), [this] { AddTagsFromFileCommand(); });
            *status = StatusText();
            break;
        case kAnyShader:
            // The script joins the shader list, as "Shaderlist → Add File..." does it.
            presetFileName_ = fileName;
            skipDialog_ = true;
            AddShaderFileCommand();
            *status = StatusText();
            break;
        case kAnyCharacter:
            LoadCharacterFromFile(fileName);
            *status = StatusText();
            break;
        case kAnyArchive:
            // The archive's models are offered in the PK3 browser.
            OpenArchiveInBrowser(fileName);
            *status = StatusText();
            break;
        case kAnyAllSupported:
            // The loaded model stays as it is.
            *status = "Not loaded: " + name + ": not a kind of file this program reads";
            break;
    }
}

void TMainWindow::SaveAsCommand() {
    SetStatus("");
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    SaveModelAs(status);
}

void TMainWindow::SaveModelAs(QString& status) {
    if (!prompts_.saveFile) return;
    if (IsSkeletalFamily(document_.kind)) {
        SaveSkeletalAs(status);
        return;
    }
    if (!IsMD3Family(document_.kind)) return;
    // An MDC stays an MDC unless the user picks the other type.
    SuggestSaveName(document_.name,
                    QFileInfo(QString::fromStdString(document_.name)).suffix().toLower() == "mdc"
                        ? QStringLiteral("mdc")
                        : QStringLiteral("md3"));
    const QString fileName =
        prompts_.saveFile("Save a model",
                          "Quake 3 model (.MD3) (*.MD3 *.md3);;Compressed Quake 3 model (.MDC) "
                          "(*.MDC *.mdc)",
                          kSavedMD3Suffix);
    if (fileName.isEmpty()) return;
    if (document_.md3.SaveToFile(fileName.toStdString())) {
        const QString name = QFileInfo(fileName).fileName();
        document_.name = name.toStdString();
        document_.file = QFileInfo(fileName).absoluteFilePath().toStdString();
        MarkModelSaved();
        status = "Model saved to file: " + name;
    } else {
        status = "Model not saved: " + QString::fromStdString(document_.md3.LastError());
    }
}

void TMainWindow::ClearCommand() {
    if (!SettleUnsavedChanges()) return;
    // The caption, the name field and the folder images are looked for in stay as they were.
    std::string name = std::move(document_.name);
    std::string folder = std::move(document_.folder);
    ForgetModel();
    document_.name = std::move(name);
    document_.folder = std::move(folder);
    ShowUndoState();
    ResetAnimationControls();
    actionFileSaveAs_->setToolTip("");
    SetStatus("Environment cleared..");
    RedrawView();
}

void TMainWindow::HandleDroppedFiles(const QStringList& files) {
    SetStatus("");
    if (files.isEmpty()) return;
    // Linux paths are not limited to 254 characters; cutting one makes it a different file.
    const QString first = files.first();
    const QString suffix = UpperSuffix(first);
    const int count = static_cast<int>(files.size());
    if (suffix == ".MD3" || suffix == ".MDC") {
        LoadMD3FromFile(first);
    } else if (suffix == ".MAP") {
        LoadMapFromFile(first);
    } else if (suffix == ".MDS") {
        LoadMDSFromFile(first);
    } else if (suffix == ".CHAR") {
        LoadCharacterFromFile(first);
    } else if ((suffix == ".MDM" || suffix == ".MDX") && count == 1) {
        SetStatus("MDM/MDX files must both be drag'n'dropped at the same time..");
    } else if ((suffix == ".MDM" || suffix == ".MDX") && count == 2) {
        // A mesh and its animation belong together; anything else with them is ignored.
        const QString second = files.at(1);
        const QString secondSuffix = UpperSuffix(second);
        if (suffix == ".MDM" && secondSuffix == ".MDX") LoadMDMMDXFromFiles(first, second);
        if (suffix == ".MDX" && secondSuffix == ".MDM") LoadMDMMDXFromFiles(second, first);
    } else if (suffix == ".MS3D" || suffix == ".ASE") {
        LoadImportFromFile(first, suffix == ".MS3D");
    } else if (suffix == ".GLB" || suffix == ".GLTF") {
        LoadGltfFromFile(first);
    } else if (suffix == ".SKIN") {
        LoadSkinFromDrop(first);
    } else {
        SetStatus("Invalid filetype to drag'n'drop: " + suffix);
    }
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    event->acceptProposedAction();
    HandleDroppedFiles(files);
}
