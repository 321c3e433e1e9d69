// A player taken from the game comes with its class's skins: the mesh's folder holds them as
// "<mesh>_<name>.skin" (body_soldier.skin beside body.mdm). They are listed beside the
// animation list, the first one is applied at once, and choosing another applies it.
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <map>

#include "app/main_window.h"
#include "assets/archive_loads.h"
#include "assets/pk3_tree.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

void TMainWindow::BuildClassSkinList() {
    classSkinRow_ = new QWidget(animationHost_);
    classSkinRow_->setObjectName("classSkinRow");
    auto* row = new QHBoxLayout(classSkinRow_);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Skin"), classSkinRow_);
    cbClassSkins_ = new QComboBox(classSkinRow_);
    cbClassSkins_->setObjectName("cbClassSkins");
    cbClassSkins_->setToolTip(QStringLiteral("The skins of the player's class in the game"));
    label->setBuddy(cbClassSkins_);
    row->addWidget(label);
    row->addWidget(cbClassSkins_, 1);
    animationHost_->layout()->addWidget(classSkinRow_);
    classSkinRow_->hide();
    connect(cbClassSkins_, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { Guarded([this, index] { UseClassSkin(index); }); });
}

void TMainWindow::ForgetClassSkins() {
    classSkins_.clear();
    cbClassSkins_->clear();
    classSkinRow_->hide();
}

void TMainWindow::OfferClassSkins(const std::string& meshEntry) {
    ForgetClassSkins();
    const std::string folder = Lower(meshEntry.substr(0, meshEntry.rfind('/') + 1));
    const std::string prefix =
        Lower(QFileInfo(QString::fromStdString(meshEntry)).completeBaseName().toStdString()) + "_";
    // By name; a later PAK's copy of the same entry is the one the game reads.
    std::map<std::string, TClassSkin> found;
    const TPK3Tree tree = BuildPK3Tree(kPK3ModeSkin, PK3SourcesOf(assets_.Paks()));
    for (const TPK3ArchiveNode& archive : tree.archives) {
        for (const TPK3FolderNode& node : archive.folders) {
            if (Lower(node.folder) != folder) continue;
            for (const std::string& file : node.files)
                if (Lower(file).starts_with(prefix))
                    found[Lower(file)] = {node.folder + file, archive.path};
        }
    }
    for (const auto& [name, skin] : found) {
        classSkins_.push_back(skin);
        const QString file = QFileInfo(QString::fromStdString(skin.entry)).completeBaseName();
        cbClassSkins_->addItem(file.mid(static_cast<int>(prefix.size())));
        cbClassSkins_->setItemData(cbClassSkins_->count() - 1, QString::fromStdString(skin.entry),
                                   Qt::ToolTipRole);
    }
    if (classSkins_.empty()) return;
    classSkinRow_->show();
    cbClassSkins_->setCurrentIndex(0);
    UseClassSkin(0);
}

void TMainWindow::UseClassSkin(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= classSkins_.size()) return;
    const TClassSkin& skin = classSkins_[static_cast<std::size_t>(index)];
    const TEntryExtraction extraction = ExtractFromArchive(skin.pak, skin.entry, assets_.TmpDir());
    ShowProblems(extraction.problems);
    if (!extraction.ok()) {
        SetStatus(QString::fromStdString("Skin not loaded: \"" + skin.entry +
                                         "\" could not be taken out of " + skin.pak));
        return;
    }
    LoadSkinFile(QString::fromStdString(extraction.path));
}
