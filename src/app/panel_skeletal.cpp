// What the pages show of a skeletal model: the bones tree, the MDM's surfaces and tags, and
// whether the mesh carries level-of-detail data.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/model_panels.h"
#include "app/panel_widgets.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

void TModelPanels::FillSkeletalLists() {
    std::vector<TBoneNode> bones;
    bones.reserve(mdx_->bones.size());
    for (const TMDXBoneInfo& bone : mdx_->bones)
        bones.push_back({NameText(bone.name), bone.parent});
    FillBonesTree(bones);

    if (cbTagPivots_) {
        for (const TMDMTag& tag : mdm_->tags)
            cbTagPivots_->addItem(NameText(tag.name));
        cbTagPivots_->addItem(QStringLiteral("origin"));
        cbTagPivots_->setCurrentIndex(cbTagPivots_->count() - 1);
    }

    leNumSurfaces_->setText(QString::number(mdm_->header.numSurfaces));
    for (int s = 0; mdm_->ValidSurface(s); ++s)
        cbNamesSurfaces_->addItem(NameText(mdm_->surfaces[static_cast<std::size_t>(s)].name));
    cbNamesSurfaces_->setCurrentIndex(cbNamesSurfaces_->count() > 0 ? 0 : -1);
}

void TModelPanels::ShowMDMSurfaceDetails(int surface) {
    if (mdm_ == nullptr || !mdm_->ValidSurface(surface)) return;
    const TMDMSurface& s = mdm_->surfaces[static_cast<std::size_t>(surface)];
    // A mesh surface names one shader, and has no flags.
    cbNamesShaders_->addItem(NameText(s.shader));
    cbNamesShaders_->setCurrentIndex(0);
    leNumShaders_->setText(QStringLiteral("1"));
    leNumVerts_->setText(QString::number(s.numVerts));
    leNumTriangles_->setText(QString::number(s.numTriangles));
}

int TModelPanels::BonesTreeEntries() const {
    int entries = 0;
    for (QTreeWidgetItemIterator it(tvBones_); *it != nullptr; ++it)
        ++entries;
    return entries;
}
