// Loading and saving skeletal models: the MDM/MDX pair, the parts that can be loaded into it
// (animation, bones, frames, tags), the animation names of the .aninc beside the MDX, and
// "Save As" of the pair.
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>

#include "app/animation_controls.h"
#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "skeletal/skeletal_pair.h"

namespace {

const char* const kMDMTitle = "Select a playermodel to load";
const char* const kMDMFilter = "ET playermodel  (.MDM)|*.MDM";
const char* const kMDXTitle = "Select a playermodel-animation to load";
const char* const kMDXFilter = "ET playermodel  animation (.MDX)|*.MDX";

QString AskOpen(const TUserPrompts& prompts, const char* title, const char* filter) {
    if (!prompts.openFile) return QString();
    int filterIndex = 0;
    return prompts.openFile(title, DialogFilter(filter).split(";;"), filterIndex);
}

QString FileOnly(const QString& path) {
    return QFileInfo(path).fileName();
}

// "<what> not loaded: <file>: <reason>", so that a modder knows which of the files to mend.
QString NotLoaded(const char* what, const QString& file, const std::string& reason) {
    return QString(what) + " not loaded: " + FileOnly(file) + ": " +
           QString::fromStdString(reason.empty() ? std::string("the file cannot be read") : reason);
}

// Empty when the pair can be posed, else why `file` cannot join it.
QString PairProblem(const TMDM& mesh, const TMDX& anim, const char* what, const QString& file) {
    const std::string problem = SkeletalPairProblem(mesh, anim);
    return problem.empty() ? QString() : NotLoaded(what, file, problem);
}

}  // namespace

void TMainWindow::LoadMDMMDXCommand() {
    busy_ = true;
    const TCommandEnd end([this] { EndCommand(nullptr); });
    // Both files are chosen before anything is reset: cancelling either dialog keeps the model
    // that is loaded, with its unsaved edits.
    const QString mdmFile =
        skipDialog_ ? presetFileName_ : AskOpen(prompts_, kMDMTitle, kMDMFilter);
    if (mdmFile.isEmpty()) return;
    const QString mdxFile =
        skipDialog_ ? presetMDXFileName_ : AskOpen(prompts_, kMDXTitle, kMDXFilter);
    if (mdxFile.isEmpty()) return;
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TModelDocument model;
    QString status;
    if (LoadMDMMDXFiles(model, mdmFile, mdxFile, status) &&
        ReplaceModel(std::move(model), status)) {
        ShowAnimationNames(mdxFile, status);
        document_.animationFile = QFileInfo(mdxFile).absoluteFilePath().toStdString();
        AfterModelLoaded(mdmFile, status, "Save as MDM/MDX");
    } else {
        SetStatus(status);
    }
}

void TMainWindow::LoadMDMMDXFromFiles(const QString& mdmFile, const QString& mdxFile) {
    presetFileName_ = mdmFile;
    presetMDXFileName_ = mdxFile;
    skipDialog_ = true;
    Guarded([this] { LoadMDMMDXCommand(); });
    skipDialog_ = false;
}

bool TMainWindow::LoadMDMFile(TModelDocument& model, const QString& fileName, QString& status) {
    TAppUserPrompts prompts(prompts_);
    if (!model.mdm.LoadFromFile(fileName.toStdString(), prompts)) {
        status = NotLoaded("MDM", fileName, model.mdm.LastError());
        return false;
    }
    // Whatever the file holds in the in-memory shader index must not pick an entry of the
    // store; the shader lookup after the load sets the indexes when a game is set.
    model.mdm.ClearShaderIndexes();
    model.source = kModelSourceFile;
    model.kind = kModelKindMDMMDX;
    status = "MDM loaded";
    return true;
}

bool TMainWindow::LoadMDMMDXFiles(TModelDocument& model, const QString& mdmFile,
                                  const QString& mdxFile, QString& status) {
    if (!LoadMDMFile(model, mdmFile, status)) return false;
    if (!model.mdx.LoadFromFile(mdxFile.toStdString())) {
        status = NotLoaded("MDX", mdxFile, model.mdx.LastError());
        return false;
    }
    status = PairProblem(model.mdm, model.mdx, "MDM/MDX", mdxFile);
    if (!status.isEmpty()) return false;
    status = "MDM/MDX loaded";
    return true;
}

bool TMainWindow::LoadPartFile(TPartialLoad part, const QString& fileName, QString& status) {
    const std::string file = fileName.toStdString();
    // The part is read into a copy, so a file that fails, or does not fit the rest of the
    // model, leaves the loaded model exactly as it was.
    if (part == TPartialLoad::Tags) {
        TMDM mesh = document_.mdm;
        TAppUserPrompts prompts(prompts_);
        if (!mesh.LoadTagsFromFile(file, prompts)) {
            status = NotLoaded("MDM tags", fileName, mesh.LastError());
            return false;
        }
        status = PairProblem(mesh, document_.mdx, "MDM tags", fileName);
        if (!status.isEmpty()) return false;
        document_.mdm = std::move(mesh);
        status = "MDX tags loaded";
    } else {
        TMDX anim;
        if (part != TPartialLoad::Animation) anim = document_.mdx;
        const char* what = part == TPartialLoad::Animation ? "MDX"
                           : part == TPartialLoad::Bones   ? "MDX bones"
                                                           : "MDX frames";
        const bool loaded = part == TPartialLoad::Animation ? anim.LoadFromFile(file)
                            : part == TPartialLoad::Bones   ? anim.LoadBonesFromFile(file)
                                                            : anim.LoadFramesFromFile(file);
        if (!loaded) {
            status = NotLoaded(what, fileName, anim.LastError());
            return false;
        }
        status = PairProblem(document_.mdm, anim, what, fileName);
        if (!status.isEmpty()) return false;
        document_.mdx = std::move(anim);
        status = QString(what) + " loaded";
        // Names of the animation list belong to the frames they were written for.
        if (part != TPartialLoad::Bones) ResetLodAndAnimationNames();
        if (part == TPartialLoad::Animation) ShowAnimationNames(fileName, status);
    }
    document_.source = kModelSourceFile;
    document_.kind = kModelKindMDMMDX;
    return true;
}

void TMainWindow::LoadPartCommand(TPartialLoad part) {
    if (!IsSkeletalFamily(document_.kind)) return;
    busy_ = true;
    // Stays unset after a cancel, so the status bar keeps what it showed.
    std::optional<QString> status;
    const TCommandEnd end([this, &status] { EndCommand(status ? &*status : nullptr); });
    const bool mesh = part == TPartialLoad::Tags;
    const QString fileName =
        mesh ? AskOpen(prompts_, kMDMTitle, kMDMFilter) : AskOpen(prompts_, kMDXTitle, kMDXFilter);
    if (fileName.isEmpty()) return;
    status.emplace();
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (LoadPartFile(part, fileName, *status)) ShowLoadedPart(part);
}

void TMainWindow::ShowLoadedPart(TPartialLoad part) {
    EnableModelCommands();
    panels_->RefreshSkeletalPanels(document_.kind);
    ShowFamily();
    // New frames may be fewer than the frame shown.
    if (part == TPartialLoad::Animation || part == TPartialLoad::Frames) ResetAnimationControls();
}

void TMainWindow::ShowAnimationNames(const QString& mdxFile, QString& status) {
    const std::string list = AnincPathFor(mdxFile.toStdString());
    std::vector<TAnimationRange> names;
    if (document_.aninc.LoadFromFile(list)) {
        for (const TANINCFrame& f : document_.aninc.frames)
            names.push_back({f.name, f.firstFrame, f.numFrames, f.framesPerSecond});
    } else if (!document_.aninc.LastError().empty()) {
        status +=
            "; animation names not read: " + QString::fromStdString(document_.aninc.LastError());
    }
    animation_->SetAnimations(std::move(names));
}

void TMainWindow::SaveSkeletalAs(QString& status) {
    SuggestSaveName(document_.name, QStringLiteral("mdm"));
    const QString mdmFile = prompts_.saveFile(
        "Save a playermodel", DialogFilter("ET playermodel (.MDM)|*.MDM"), DialogSuffix(".MDM"));
    if (mdmFile.isEmpty()) return;
    if (!document_.mdm.SaveToFile(mdmFile.toStdString())) {
        status = "Model not saved: " + QString::fromStdString(document_.mdm.LastError());
        return;
    }
    const QString mdmName = FileOnly(mdmFile);
    document_.name = mdmName.toStdString();
    document_.file = QFileInfo(mdmFile).absoluteFilePath().toStdString();
    document_.animationFile.clear();
    ShowUndoState();
    // The animation belongs beside its mesh, under the mesh's name.
    RememberDialogFolder("Save a playermodel animation", QFileInfo(mdmFile).absolutePath());
    SuggestSaveName(document_.name, QStringLiteral("mdx"));
    const QString mdxFile = prompts_.saveFile("Save a playermodel animation",
                                              DialogFilter("ET playermodel animation (.MDX)|*.MDX"),
                                              DialogSuffix(".MDX"));
    if (mdxFile.isEmpty()) {
        // The mesh is on disk; the model stays marked, as its animation is not.
        status = "Model saved to file(s): " + mdmName +
                 "; animation not saved: the second dialog was cancelled";
        return;
    }
    if (!document_.mdx.SaveToFile(mdxFile.toStdString())) {
        status = "Model saved to file(s): " + mdmName +
                 "; animation not saved: " + QString::fromStdString(document_.mdx.LastError());
        return;
    }
    document_.animationFile = QFileInfo(mdxFile).absoluteFilePath().toStdString();
    MarkModelSaved();
    status = "Model saved to file(s): " + mdmName + " & " + FileOnly(mdxFile);
}
