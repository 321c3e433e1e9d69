// The importers in the main window: "Load MS3D From File..." and "Load ASE From File...",
// which convert a MilkShape or 3ds Max model into the MD3 model, from the menu, the general
// loader and dropped files alike.
#include <QAction>
#include <QApplication>
#include <QFileInfo>

#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/import_options_dialog.h"
#include "app/main_window.h"

namespace {

const char* const kMS3DTitle = "Select a MilkShape model to load";
const char* const kMS3DFilter = "MilkShape model  (.ms3d)|*.ms3d";
const char* const kASETitle = "Select a model to load";
const char* const kASEFilter = "3DSMax ASCII Model (.ase)|*.ase";

// A conversion that left parts of the file out says how many, and of which file.
QString WithSkipped(const char* status, const QString& fileName, const std::string& skipped) {
    QString text = QString::fromLatin1(status);
    if (!skipped.empty())
        text +=
            " (" + QFileInfo(fileName).fileName() + ": " + QString::fromStdString(skipped) + ")";
    return text;
}

// A surface past the limits was offered a split in its own question; only a limit no split
// can meet is worth a message box of its own.
bool NeedsLimitBox(bool limitExceeded, const std::string& message) {
    return limitExceeded && message.starts_with("MAX_SURFACES");
}

}  // namespace

void TMainWindow::BuildImportActions() {
    auto add = [this](const char* name, const char* caption, std::function<void()> run) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, run] { Guarded(run); });
    };
    add("actionFileLoadASE", "Load ASE From File...", [this] { LoadImportCommand(false); });
    add("actionFileLoadMS3D", "Load MS3D From File...", [this] { LoadImportCommand(true); });
    add("actionFileLoadGLTF", "Load glTF From File...", [this] { LoadGltfCommand(); });
    add("actionFileImportOptions", "Import Options...", [this] { ImportOptionsCommand(); });
}

void TMainWindow::ImportOptionsCommand() {
    ImportOptionsDialog dialog(ms3d_.settings, this);
    if (dialog.exec() != QDialog::Accepted) return;
    ms3d_.settings = ase_.settings = dialog.Settings();
    const TImportSettings& s = ms3d_.settings;
    SetStatus(QString("Imports: scale %1, %2 up%3")
                  .arg(static_cast<double>(s.scale))
                  .arg(s.yUp ? "Y" : "Z")
                  .arg(s.shaderPrefix.empty()
                           ? QString()
                           : ", shaders in " + QString::fromStdString(s.shaderPrefix)));
}

void TMainWindow::LoadImportCommand(bool ms3d) {
    RunLoadFrame(
        [this, ms3d] {
            if (!prompts_.openFile) return QString();
            int filterIndex = 0;
            return prompts_.openFile(ms3d ? kMS3DTitle : kASETitle,
                                     DialogFilter(ms3d ? kMS3DFilter : kASEFilter).split(";;"),
                                     filterIndex);
        },
        [this, ms3d](const QString& fileName, TModelDocument& model, QString& status) {
            return ms3d ? LoadMS3DFile(model, fileName, status)
                        : LoadASEFile(model, fileName, status);
        },
        "Save as MD3");
}

void TMainWindow::LoadImportFromFile(const QString& fileName, bool ms3d) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this, ms3d] { LoadImportCommand(ms3d); });
    skipDialog_ = false;
}

bool TMainWindow::LoadMS3DFile(TModelDocument& model, const QString& fileName, QString& status) {
    if (!ms3d_.LoadMS3D(fileName.toStdString())) {
        status =
            "MS3D not loaded: " + QFileInfo(fileName).fileName() + ": not a MilkShape 3D model";
        return false;
    }
    SetStatus("Converting..");
    repaint();
    TAppUserPrompts prompts(prompts_);
    std::string message;
    if (!ms3d_.ConvertMS3DToMD3(model.md3, prompts, message)) {
        status = "The MS3D cannot be converted: " + QFileInfo(fileName).fileName() + ": " +
                 QString::fromStdString(message);
        if (NeedsLimitBox(ms3d_.LimitExceeded(), message) && prompts_.message)
            prompts_.message("Veldra", QString::fromStdString(message), true);
        return false;
    }
    model.source = kModelSourceFile;
    model.kind = kModelKindMS3D;
    status = WithSkipped("MS3D loaded and converted to MD3", fileName, ms3d_.SkippedText());
    return true;
}

bool TMainWindow::LoadASEFile(TModelDocument& model, const QString& fileName, QString& status) {
    std::string message;
    if (!ase_.LoadASE(fileName.toStdString(), message)) {
        status = QString::fromStdString(message);
        return false;
    }
    TAppUserPrompts prompts(prompts_);
    if (!ase_.ConvertASEToMD3(model.md3, prompts, message)) {
        status = QFileInfo(fileName).fileName() + ": " + QString::fromStdString(message);
        if (NeedsLimitBox(ase_.LimitExceeded(), message) && prompts_.message)
            prompts_.message("Veldra", QString::fromStdString(message), true);
        return false;
    }
    model.source = kModelSourceFile;
    model.kind = kModelKindASE;
    status = WithSkipped("ASE loaded and converted to MD3", fileName, ase_.SkippedText());
    return true;
}
