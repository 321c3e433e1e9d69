#include "app/pk3_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/pk3_preview.h"

namespace {

// Where a file node lies in the listing: archive, folder run and file.
constexpr int kArchiveRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
constexpr int kFileRole = Qt::UserRole + 2;

constexpr int kPreviewSize = 256;

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
    setFixedSize(733 + kPreviewSize + 12, 481);
    auto* layout = new QVBoxLayout(this);
    lePK3Filter_ = new QLineEdit(this);
    lePK3Filter_->setObjectName("lePK3Filter");
    lePK3Filter_->setPlaceholderText("Type to show only the files whose path holds the text");
    lePK3Filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel("Filter", this);
    filterLabel->setBuddy(lePK3Filter_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(lePK3Filter_, 1);
    layout->addLayout(filterRow);
    connect(lePK3Filter_, &QLineEdit::textChanged, this, &TdlgPK3::ApplyFilter);
    tvPK3_ = new QTreeWidget(this);
    tvPK3_->setObjectName("tvPK3");
    tvPK3_->setHeaderHidden(true);
    tvPK3_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvPK3_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvPK3_->setRootIsDecorated(false);
    tvPK3_->setIndentation(19);
    tvPK3_->setUniformRowHeights(true);  // thousands of rows lay out at once
    lPK3Preview_ = new QLabel(this);
    lPK3Preview_->setObjectName("lPK3Preview");
    lPK3Preview_->setFixedSize(kPreviewSize, kPreviewSize);
    lPK3Preview_->setAlignment(Qt::AlignCenter);
    lPK3Preview_->setWordWrap(true);
    lPK3Preview_->setStyleSheet("QLabel { background: #5a5a5a; color: white; }");
    auto* treeRow = new QHBoxLayout;
    treeRow->addWidget(tvPK3_, 1);
    treeRow->addWidget(lPK3Preview_, 0, Qt::AlignTop);
    layout->addLayout(treeRow);
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
        ShowPreview(item);
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
    lePK3Filter_->clear();
    lPK3Preview_->clear();
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
    if (!tree_.found) {
        // A browser that closes at once would look broken: say what was looked for, and where.
        QStringList archives;
        for (const TPK3Source& source : sources)
            archives << QString::fromStdString(source.name);
        QStringList kinds;
        for (const std::string& mask : PK3ModeMasks(mode))
            kinds << QString::fromStdString(mask).remove(QLatin1Char('*'));
        if (showMessage && !archives.isEmpty())
            showMessage(
                QStringLiteral("Nothing to choose: no %1 file in %2")
                    .arg(kinds.join(QStringLiteral(" or ")), archives.join(QStringLiteral(", "))));
        return QDialog::Rejected;
    }
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

void TdlgPK3::ApplyFilter(const QString& text) {
    const QString wanted = text.trimmed();
    for (int a = 0; a < tvPK3_->topLevelItemCount(); ++a) {
        QTreeWidgetItem* archive = tvPK3_->topLevelItem(a);
        bool archiveShown = false;
        for (int f = 0; f < archive->childCount(); ++f) {
            QTreeWidgetItem* folder = archive->child(f);
            const QString path = folder->text(0) == "/" ? QString() : folder->text(0);
            bool folderShown = false;
            for (int i = 0; i < folder->childCount(); ++i) {
                QTreeWidgetItem* file = folder->child(i);
                const bool shown = (path + file->text(0)).contains(wanted, Qt::CaseInsensitive);
                file->setHidden(!shown);
                folderShown |= shown;
            }
            folder->setHidden(!folderShown);
            // What is left to choose from is in sight.
            if (folderShown && !wanted.isEmpty()) folder->setExpanded(true);
            archiveShown |= folderShown;
        }
        archive->setHidden(!archiveShown);
    }
}

void TdlgPK3::ShowPreview(const QTreeWidgetItem* item) {
    const std::optional<TPK3Selection> file = FileAt(item);
    if (!file || previewFolder.empty()) {
        lPK3Preview_->clear();
        return;
    }
    const std::string& archive = file->sourcePak.empty() ? file->chosenArchive : file->sourcePak;
    const TPK3Preview preview =
        PreviewArchiveEntry(archive, file->entryPath, previewFolder, kPreviewSize);
    if (preview.picture.isNull()) {
        lPK3Preview_->setText(preview.note);
    } else {
        lPK3Preview_->setPixmap(QPixmap::fromImage(preview.picture.scaled(
            kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
}
