// "Load glTF From File...": a glTF 2.0 model (.glb, .gltf) converted into an MD3 model with
// its animation baked into frames, or, for a skinned model the user takes as a player, into an
// MDM/MDX pair; from the menu, the general loader and dropped files alike.
#include <QAction>
#include <QFileInfo>

#include "app/app_user_prompts.h"
#include "app/main_window.h"
#include "import/gltf_import.h"

namespace {

const char* const kGltfTitle = "Select a glTF model to load";
const char* const kGltfFilter = "glTF 2.0 model  (.glb, .gltf)|*.glb;*.gltf";
const char* const kSkinCaption = "glTF skin";
const char* const kSkinQuestion =
    "The glTF model is skinned.\r\nImport it as a player model (MDM/MDX)?\r\n\r\n"
    "No bakes its animation into MD3 frames.";

QString Skipped(const QString& status, const QString& fileName, const std::string& skipped) {
    if (skipped.empty()) return status;
    return status + " (" + QFileInfo(fileName).fileName() + ": " + QString::fromStdString(skipped) +
           ")";
}

}  // namespace

void TMainWindow::LoadGltfCommand() {
    RunLoadFrame(
        [this] {
            if (!prompts_.openFile) return QString();
            int filterIndex = 0;
            return prompts_.openFile(kGltfTitle, DialogFilter(kGltfFilter).split(";;"),
                                     filterIndex);
        },
        [this](const QString& fileName, TModelDocument& model, QString& status) {
            return LoadGltfFile(model, fileName, status);
        },
        "Save as MD3");
    if (IsSkeletalFamily(document_.kind)) actionFileSaveAs_->setToolTip("Save as MDM/MDX");
}

void TMainWindow::LoadGltfFromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadGltfCommand(); });
    skipDialog_ = false;
}

bool TMainWindow::LoadGltfFile(TModelDocument& model, const QString& fileName, QString& status) {
    const QString name = QFileInfo(fileName).fileName();
    TGltfImport gltf;
    // Scale and shader folder as Import Options... set them; glTF says itself which way is up.
    gltf.choice.settings = ms3d_.settings;
    std::string message;
    if (!gltf.LoadGltf(fileName.toStdString(), message)) {
        status = "glTF not loaded: " + name + ": " + QString::fromStdString(message);
        return false;
    }
    TAppUserPrompts prompts(prompts_);
    bool asPlayer = false;
    if (gltf.HasSkin()) {
        const PromptAnswer answer =
            prompts.Ask(kSkinCaption, kSkinQuestion, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel) {
            status = "glTF not loaded: " + name + ": cancelled";
            return false;
        }
        asPlayer = answer == PromptAnswer::Yes;
    }
    SetStatus("Converting..");
    repaint();
    const bool converted = asPlayer ? gltf.ConvertGltfToMDM(model.mdm, model.mdx, message)
                                    : gltf.ConvertGltfToMD3(model.md3, prompts, message);
    if (!converted) {
        status = "The glTF cannot be converted: " + name + ": " + QString::fromStdString(message);
        if (gltf.LimitExceeded() && message.starts_with("MAX_SURFACES") && prompts_.message)
            prompts_.message("Veldra", QString::fromStdString(message), true);
        return false;
    }
    model.source = kModelSourceFile;
    model.kind = asPlayer ? kModelKindMDMMDX : kModelKindMD3;
    status = Skipped(
        asPlayer ? "glTF loaded and converted to MDM/MDX" : "glTF loaded and converted to MD3",
        fileName, gltf.SkippedText());
    return true;
}
