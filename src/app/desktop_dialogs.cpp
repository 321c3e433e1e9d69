// The real dialogs behind the window's questions.
#include "app/desktop_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <algorithm>

#include "app/main_window.h"

namespace {

// The entry of `filters` the dialog reports as chosen. The dialog gives the entry back as it
// showed it, with runs of spaces made one, so the texts are compared that way.
int FilterIndex(const QStringList& filters, const QString& selected) {
    const QString shown = selected.simplified();
    const auto at = std::find_if(filters.begin(), filters.end(),
                                 [&shown](const QString& f) { return f.simplified() == shown; });
    return at == filters.end() ? 0 : static_cast<int>(at - filters.begin());
}

// "mdc" for "Compressed model (.MDC) (*.MDC *.mdc)": the suffix the filter's last pattern
// gives, in the game's lower case; empty when the filter has no pattern of that form.
QString FilterSuffix(const QString& filter) {
    const int at = filter.lastIndexOf("*.");
    if (at < 0) return QString();
    QString suffix = filter.mid(at + 2);
    const int end = suffix.indexOf(QRegularExpression("[^A-Za-z0-9]"));
    if (end >= 0) suffix.truncate(end);
    return suffix.toLower();
}

// The folder a dialog was left in: the chosen file's (also when its path was typed), else the
// one it showed when cancelled.
void Remember(TMainWindow& window, const QString& title, const QFileDialog& dialog, bool accepted) {
    const QString chosen = accepted ? dialog.selectedFiles().value(0) : QString();
    window.RememberDialogFolder(title, chosen.isEmpty() ? dialog.directory().absolutePath()
                                       : QFileInfo(chosen).isDir()
                                           ? chosen
                                           : QFileInfo(chosen).absolutePath());
}

}  // namespace

void UseDesktopDialogs(TMainWindow& window) {
    TUserPrompts& p = window.Prompts();
    p.openFile = [&window](const QString& title, const QStringList& filters, int& filterIndex) {
        QFileDialog dialog(&window, title, window.DialogFolder(title), filters.join(";;"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.selectNameFilter(filters.value(filterIndex));
        const bool accepted = dialog.exec() == QDialog::Accepted;
        Remember(window, title, dialog, accepted);
        filterIndex = FilterIndex(filters, dialog.selectedNameFilter());
        return accepted ? dialog.selectedFiles().value(0) : QString();
    };
    p.saveFile = [&window](const QString& title, const QString& filter, const QString& suffix) {
        QFileDialog dialog(&window, title, window.DialogFolder(title), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (!window.SuggestedSaveName().isEmpty()) dialog.selectFile(window.SuggestedSaveName());
        dialog.setDefaultSuffix(suffix);
        // With more than one format offered, a name typed without a suffix gets the chosen one.
        if (filter.contains(";;")) {
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                             [&dialog](const QString& chosen) {
                                 const QString chosenSuffix = FilterSuffix(chosen);
                                 if (!chosenSuffix.isEmpty()) dialog.setDefaultSuffix(chosenSuffix);
                             });
        }
        const bool accepted = dialog.exec() == QDialog::Accepted;
        Remember(window, title, dialog, accepted);
        return accepted ? dialog.selectedFiles().value(0) : QString();
    };
    p.chooseFolder = [&window](const QString& caption) {
        QFileDialog dialog(&window, caption, window.DialogFolder(caption));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        Remember(window, caption, dialog, accepted);
        return accepted ? dialog.selectedFiles().value(0) : QString();
    };
    p.message = [&window](const QString& title, const QString& text, bool error) {
        QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information, title, text,
                        QMessageBox::Ok, &window);
        box.exec();
    };
    p.chooseColour = [&window](std::uint32_t initial) -> std::optional<std::uint32_t> {
        const QColor chosen = QColorDialog::getColor(
            QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF), &window);
        if (!chosen.isValid()) return std::nullopt;
        return static_cast<std::uint32_t>(chosen.red()) |
               static_cast<std::uint32_t>(chosen.green()) << 8 |
               static_cast<std::uint32_t>(chosen.blue()) << 16;
    };
    p.askText = [&window](const QString& caption, const QString& prompt,
                          const QString& text) -> std::optional<QString> {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(&window, caption, prompt, QLineEdit::Normal, text, &ok);
        if (!ok) return std::nullopt;
        return answer;
    };
    p.askYesNoCancel = [&window](const QString& caption, const QString& text) {
        const auto button = QMessageBox::question(
            &window, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return button == QMessageBox::Yes  ? TAnswer::Yes
               : button == QMessageBox::No ? TAnswer::No
                                           : TAnswer::Cancel;
    };
    p.askYesNo = [&window](const QString& caption, const QString& text) {
        const auto button =
            QMessageBox::question(&window, caption, text, QMessageBox::Yes | QMessageBox::No);
        return button == QMessageBox::Yes ? TAnswer::Yes : TAnswer::No;
    };
    p.openFiles = [&window](const QString& title, const QString& filter) {
        QFileDialog dialog(&window, title, window.DialogFolder(title), filter);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        Remember(window, title, dialog, accepted);
        return accepted ? dialog.selectedFiles() : QStringList();
    };
}
