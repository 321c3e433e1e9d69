// TdlgPK3: the PK3 browser. Lists, for a mode, every matching file of the game's PAKs (or of
// one archive the user picks) as a tree of archive / stored folder / file, without unpacking
// anything; the caller extracts and loads the file chosen. One instance lives as long as the
// main window, and every showing builds its tree anew.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assets/pk3_tree.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class TdlgPK3 : public QDialog {
    Q_OBJECT
  public:
    explicit TdlgPK3(QWidget* parent = nullptr);

    // Lists the archives for `mode` (kPK3Mode...) and shows the dialog modally. The archive
    // mode first asks for the archive, starting in `etmainFolder` when it is set. Archives
    // that are skipped or cannot be read are reported through `showMessage`, one message
    // each. Returns QDialog::Accepted or QDialog::Rejected; nothing found counts as a cancel.
    int Browse(int mode, const std::vector<TPK3Source>& gamePaks, const QString& etmainFolder);

    // The file node that is selected, as the callers take it: its entry path, the archive it
    // lies in (sourcePak) or the archive picked in the archive mode (chosenArchive). Nothing
    // when no file node is selected.
    std::optional<TPK3Selection> SelectedFile() const;
    // The stored folder of the file node clicked last; the caller may set it.
    std::string entryFolder;

    // Where entries are taken out of their archive to be previewed; no preview while empty.
    std::string previewFolder;

    QTreeWidget* Tree() const { return tvPK3_; }
    const TPK3Tree& Listing() const { return tree_; }

    // The dialogs this one opens and its modal run, replaceable so that tests can answer them.
    // pickArchive: the archive mode's file dialog (title, filter, start folder) → the file
    // or empty for cancel.
    std::function<QString(const QString&, const QString&, const QString&)> pickArchive;
    std::function<void(const QString& text)> showMessage;
    std::function<int(TdlgPK3& dialog)> runModal;

  private:
    void Fill();
    // The tree position of a file node; nothing for archive and folder nodes.
    std::optional<TPK3Selection> FileAt(const QTreeWidgetItem* item) const;
    void OnFileClicked(const QTreeWidgetItem* item);
    // Hides the files whose path does not hold `text`, and the folders and archives left
    // without files.
    void ApplyFilter(const QString& text);
    void ShowPreview(const QTreeWidgetItem* item);

    QTreeWidget* tvPK3_ = nullptr;
    QLineEdit* lePK3Filter_ = nullptr;
    QLabel* lPK3Preview_ = nullptr;
    TPK3Tree tree_;
};
