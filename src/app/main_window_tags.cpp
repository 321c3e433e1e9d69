// The buttons of the "Adding Tags" group: tags from a tag file, a typed tag, and saving the
// tags of frame 0 to a tag file. Tags are added only to one-frame models.
#include <QFileInfo>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/tag_entry.h"
#include "md3/md3_input.h"

void TMainWindow::AddTagsFromFileCommand() {
    SetStatus("");
    if (document_.md3.header.numFrames != 1) {
        SetStatus(kTagsNeedOneFrameText);
        return;
    }
    int filterIndex = 0;
    // The general loader has chosen the file already.
    const QString fileName =
        skipDialog_         ? presetFileName_
        : prompts_.openFile ? prompts_.openFile("Select model-tags to import",
                                                {"Model Tags  (*.tag) (*.tag *.TAG)"}, filterIndex)
                            : QString();
    if (fileName.isEmpty()) return;
    const QString name = QFileInfo(fileName).fileName();
    tagEntry_->FileNameField()->setText(name);
    if (!document_.md3.LoadTagsFromFile(fileName.toStdString())) {
        // A rejected file changed nothing; saying "added" would be a lie.
        SetStatus("No tag(s) added from file: " + name + " (" +
                  QString::fromStdString(document_.md3.LastError()) + ")");
        return;
    }
    SetStatus("New tag(s) added from file: " + name);
    MarkModelChanged();
    panels_->RefreshMD3Panels(document_.kind);
    RedrawView();
}

void TMainWindow::AddTagManuallyCommand() {
    SetStatus("");
    if (document_.md3.header.numFrames != 1) {
        SetStatus(kTagsNeedOneFrameText);
        return;
    }
    // Names are bytes; Latin-1 keeps one character per byte, as the panels show them.
    const std::string name = tagEntry_->Name().toLatin1().toStdString();
    const std::array<QString, 12> texts = tagEntry_->Numbers();
    std::array<std::string, 12> numbers;
    std::array<std::string_view, 12> views;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        numbers[i] = texts[i].toStdString();
        views[i] = numbers[i];
    }
    TMD3Tag tag;
    if (!MakeTag(name, views, tag)) {
        SetStatus(kInputConversionErrorText);
        return;
    }
    document_.md3.AddTag(tag);
    MarkModelChanged();
    tagEntry_->Reset();
    SetStatus("New tag added");
    panels_->RefreshMD3Panels(document_.kind);
    RedrawView();
}

void TMainWindow::SaveTagsCommand() {
    SetStatus("");
    busy_ = true;
    QString status;
    struct Restore {
        TMainWindow* w;
        QString& status;
        ~Restore() {
            w->busy_ = false;
            w->RedrawView();
            w->SetStatus(status);
        }
    } restore{this, status};
    if (IsSkeletalFamily(document_.kind)) {
        status = "Saving tags for playermodels is not yet possible..";
        return;
    }
    if (!IsMD3Family(document_.kind) || !prompts_.saveFile) return;
    SuggestSaveName(document_.name, QStringLiteral("tag"));
    const QString fileName =
        prompts_.saveFile("Save model-tag(s)", "Model Tags File (.tag) (*.tag)", "tag");
    if (fileName.isEmpty()) return;
    const QString name = QFileInfo(fileName).fileName();
    // A model without tags writes no file; reporting it as saved would mislead.
    status = document_.md3.SaveTagsToFile(fileName.toStdString())
                 ? "Tag(s) saved to file: " + name
                 : "No tag(s) saved to file: " + name + " (" +
                       QString::fromStdString(document_.md3.LastError()) + ")";
}
