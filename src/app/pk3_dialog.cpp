#include "app/pk3_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Where a file node lies in the listing: archive, folder run and file.
constexpr int kArchiveRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
constexpr int kFileRole = Qt::UserRole + 2;

const char* const kArchiveFilter = "Map  (.PK3) (*.PK3 *.pk3 *.ZIP *.zip)";

QTreeWidgetItem* Node(const QString& text, int archive, int folder, int file) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kArchiveRole, archive);
    item->setData(0, kFolderRole, folder);
    item->setData(0, kFileRole, file);
    return item;
}

}  // namespace

TdlgPK3::TdlgPK3(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgPK3");
    setWindowTitle("Select a file..");
    setFixedSize(733, 481);
    auto* layout = new QVBoxLayout(this);
    tvPK3_ = new QTreeWidget(this);
    tvPK3_->setObjectName("tvPK3");
    tvPK3_->setHeaderHidden(true);
    tvPK3_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvPK3_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvPK3_->setRootIsDecorated(false);
    tvPK3_->setIndentation(19);
    tvPK3_->setUniformRowHeights(true);  // thousands of rows lay out at once
    layout->addWidget(tvPK3_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelBtn");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Moving through the tree opens what the user reaches, and counts as a click.
    connect(tvPK3_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item == nullptr) return;
        item->setExpanded(true);
        OnFileClicked(item);
    });
    connect(tvPK3_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnFileClicked(item); });
    connect(tvPK3_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (!FileAt(item)) return;
        tvPK3_->setCurrentItem(item);
        OnFileClicked(item);
        accept();
    });

    pickArchive = [this](const QString& title, const QString& filter, const QString& folder) {
        return QFileDialog::getOpenFileName(this, title, folder, filter);
    };
    showMessage = [this](const QString& text) { QMessageBox::warning(this, "Veldra", text); };
    runModal = [](TdlgPK3& dialog) { return dialog.exec(); };
}

int TdlgPK3::Browse(int mode, const std::vector<TPK3Source>& gamePaks,
                    const QString& etmainFolder) {
    tvPK3_->clear();
    tree_ = TPK3Tree{};
    entryFolder.clear();
    std::vector<TPK3Source> sources = gamePaks;
    if (mode == kPK3ModeArchiveFile) {
        setWindowTitle(QString::fromStdString(PK3ModeCaption(mode, "")));
        const QString picked =
            pickArchive ? pickArchive("Select a map.pk3", kArchiveFilter, etmainFolder) : QString();
        if (picked.isEmpty()) return QDialog::Rejected;
        // The archive about to be read is the one whose use by another program matters.
        sources = {{picked.toStdString(), QFileInfo(picked).fileName().toStdString()}};
    }
    tree_ = BuildPK3Tree(mode, sources);
    for (const std::string& message : tree_.messages) {
        if (showMessage) showMessage(QString::fromStdString(message));
    }
    if (!tree_.caption.empty()) setWindowTitle(QString::fromStdString(tree_.caption));
    Fill();
    if (!tree_.found) return QDialog::Rejected;
    if (parentWidget() != nullptr) {
        const QPoint centre = parentWidget()->frameGeometry().center();
        move(centre - rect().center());
    }
    return runModal ? runModal(*this) : QDialog::Rejected;
}

void TdlgPK3::Fill() {
    tvPK3_->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> archives;
    for (std::size_t a = 0; a < tree_.archives.size(); ++a) {
        const TPK3ArchiveNode& archive = tree_.archives[a];
        QTreeWidgetItem* archiveItem = Node(QString::fromStdString(archive.name), int(a), -1, -1);
        for (std::size_t f = 0; f < archive.folders.size(); ++f) {
            const TPK3FolderNode& folder = archive.folders[f];
            // Files at the top of the archive sit under a folder node too.
            const QString text =
                folder.folder.empty() ? QString("/") : QString::fromStdString(folder.folder);
            QTreeWidgetItem* folderItem = Node(text, int(a), int(f), -1);
            QList<QTreeWidgetItem*> files;
            files.reserve(static_cast<int>(folder.files.size()));
            for (std::size_t i = 0; i < folder.files.size(); ++i)
                files << Node(QString::fromStdString(folder.files[i]), int(a), int(f), int(i));
            folderItem->addChildren(files);
            archiveItem->addChild(folderItem);
        }
        archives << archiveItem;
    }
    tvPK3_->addTopLevelItems(archives);
    for (QTreeWidgetItem* archive : archives)
        archive->setExpanded(true);
    tvPK3_->setUpdatesEnabled(true);
}

std::optional<TPK3Selection> TdlgPK3::FileAt(const QTreeWidgetItem* item) const {
    if (item == nullptr || item->data(0, kFileRole).toInt() < 0) return std::nullopt;
    return SelectPK3File(tree_, item->data(0, kArchiveRole).toUInt(),
                         item->data(0, kFolderRole).toUInt(), item->data(0, kFileRole).toUInt());
}

void TdlgPK3::OnFileClicked(const QTreeWidgetItem* item) {
    if (const auto file = FileAt(item)) entryFolder = file->entryFolder;
}

std::optional<TPK3Selection> TdlgPK3::SelectedFile() const {
    return FileAt(tvPK3_->currentItem());
}
