// Appending frames of other MD3 files of the same model, and deleting the current frame.
#include <QCollator>
#include <algorithm>

#include "app/animation_controls.h"
#include "app/main_window.h"
#include "app/model_file_filters.h"
#include "app/model_panels.h"

namespace {

const char* const kMD3sFilter = "Quake 3 models  (.MD3) (*.MD3 *.md3)";

// Case-insensitive, locale-aware text order: numbers are text, so a10 sorts before a2.
void SortAsText(QStringList& paths) {
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::stable_sort(paths.begin(), paths.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
}

}  // namespace

void TMainWindow::AddFramesCommand(bool allFrames) {
    SetStatus("");
    if (!IsMD3Family(document_.kind) || !prompts_.openFile) return;
    int filterIndex = 0;
    const QString fileName =
        prompts_.openFile("Select a model to load", {kMD3Filter, kMDCFilter}, filterIndex);
    if (fileName.isEmpty()) return;
    std::string message;
    const bool added =
        allFrames ? document_.md3.AppendAllFramesFromFile(fileName.toStdString(), message)
                  : document_.md3.AppendFirstFrameFromFile(fileName.toStdString(), message);
    if (!added) {
        SetStatus(QString::fromStdString(message));
        return;
    }
    AfterFrameEdit();
    ResolveSurfaces();
    MarkModelChanged();
    // The file as chosen, folder included: frames of equally named files in different
    // folders are told apart.
    SetStatus(allFrames ? "All frames (of " + fileName + ") were added to the current model"
                        : "Frame[0] (of " + fileName + ") was added to the current model");
}

void TMainWindow::AddFrameSequenceCommand() {
    SetStatus("");
    if (!IsMD3Family(document_.kind) || !prompts_.openFiles) return;
    QStringList paths = prompts_.openFiles("Select multiple models sequence", kMD3sFilter);
    if (paths.isEmpty()) return;
    SortAsText(paths);
    int added = 0;
    // Frames appended before a failure stay in the model, so the panels, the frame controls
    // and the changed mark must show them whatever stops the sequence.
    struct ShowAdded {
        TMainWindow* w;
        const int& added;
        ~ShowAdded() {
            if (added == 0) return;
            w->AfterFrameEdit();
            w->ResolveSurfaces();
            w->MarkModelChanged();
        }
    } showAdded{this, added};
    for (const QString& path : paths) {
        std::string message;
        if (!document_.md3.AppendFirstFrameFromFile(path.toStdString(), message)) {
            SetStatus(QString::fromStdString(message));
            return;
        }
        ++added;
    }
    SetStatus(
        QStringLiteral("Frame[0] (of %1 files) were added to the current model").arg(paths.size()));
}

void TMainWindow::DeleteFrameCommand() {
    SetStatus("");
    // Converted models are not offered this: only a loaded MD3 file.
    const int frame = CurrentFrame();
    if (document_.kind != kModelKindMD3 || document_.md3.header.numFrames <= 1 || frame < 0) return;
    if (!prompts_.askYesNoCancel) return;
    const QString question =
        QStringLiteral("Are You sure You want to remove the current frame?.. Frame[%1] ?")
            .arg(frame);
    if (prompts_.askYesNoCancel("Confirmation", question) != TAnswer::Yes) return;
    document_.md3.DeleteFrame(frame);
    AfterFrameEdit();
    // The same frame number stays current while it still exists.
    animation_->ShowCurrentFrame(frame);
    MarkModelChanged();
    SetStatus(QStringLiteral("Frame[%1] has been removed").arg(frame));
    RedrawView();
}
