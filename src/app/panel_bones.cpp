#include "app/panel_bones.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "app/model_panels.h"
#include "app/panel_widgets.h"

namespace {

// Whether following the parents upwards from bone ends at a root; a loop or a parent
// outside the list does not.
bool ReachesRoot(const std::vector<TBoneNode>& bones, int bone) {
    const int count = static_cast<int>(bones.size());
    for (int steps = 0; steps <= count; ++steps) {
        const int parent = bones[static_cast<std::size_t>(bone)].parent;
        if (parent == -1) return true;
        if (parent < 0 || parent >= count) return false;
        bone = parent;
    }
    return false;
}

}  // namespace

void BuildBonesTree(QTreeWidget* tree, const std::vector<TBoneNode>& bones) {
    tree->clear();
    std::vector<QTreeWidgetItem*> nodes;
    nodes.reserve(bones.size());
    for (const TBoneNode& bone : bones) {
        const QString index = QString::number(nodes.size());
        auto* node = new QTreeWidgetItem(QStringList{bone.name, index});
        node->setToolTip(0, QStringLiteral("%1 (bone %2)").arg(bone.name, index));
        node->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        nodes.push_back(node);
    }
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const int parent = bones[i].parent;
        if (parent >= 0 && ReachesRoot(bones, static_cast<int>(i)))
            nodes[static_cast<std::size_t>(parent)]->addChild(nodes[i]);
        else
            tree->addTopLevelItem(nodes[i]);
    }
}

void TModelPanels::BuildBonesPage() {
    bonesPage_ = NamedWidget(new QWidget, "tsBones");
    tvBones_ = NamedWidget(new QTreeWidget(bonesPage_), "tvBones");
    // Deep hands indent names past the page's width: the names keep their full width and the
    // tree scrolls sideways, with each bone's index beside its name.
    tvBones_->setColumnCount(2);
    tvBones_->setHeaderLabels({QStringLiteral("Bone"), QStringLiteral("Index")});
    tvBones_->header()->setStretchLastSection(false);
    tvBones_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvBones_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* form = new QFormLayout(bonesPage_);
    form->addRow(tvBones_);
}

void TModelPanels::FillBonesTree(const std::vector<TBoneNode>& bones) {
    BuildBonesTree(tvBones_, bones);
    tvBones_->expandAll();
}
