#include "app/model_panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/panel_widgets.h"
#include "md3/md3.h"
#include "render/scene_settings.h"

namespace {

// A page taller than the panel scrolls instead of growing the window, which would resize
// (and so clear) the view beside it.
QScrollArea* Scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

}  // namespace

TModelPanels::TModelPanels(QTabWidget* pcTabs, QWidget* viewTab, QWidget* helpTab,
                           QComboBox* cbTagPivots, TMD3& md3, QObject* parent)
    : QObject(parent),
      md3_(md3),
      pcTabs_(pcTabs),
      viewTab_(viewTab),
      helpTab_(helpTab),
      cbTagPivots_(cbTagPivots) {
    BuildGeneralPage();
    BuildAnimationPage();
    BuildTagsPage();
    BuildSurfacesPage();
    BuildBonesPage();
    pcTabs_->addTab(Scrolling(generalPage_), QStringLiteral("General"));
    pcTabs_->addTab(Scrolling(animationPage_), QStringLiteral("Animation"));
    pcTabs_->addTab(Scrolling(tagsPage_), QStringLiteral("Tags"));
    pcTabs_->addTab(Scrolling(surfacesPage_), QStringLiteral("Surfaces"));
    pcTabs_->addTab(Scrolling(bonesPage_), QStringLiteral("Bones"));
    pcTabs_->addTab(Scrolling(viewTab_), QStringLiteral("View"));
    pcTabs_->addTab(Scrolling(helpTab_), QStringLiteral("Help"));
    EmptyPanels();
    ShowTabsOfFamily(kModelKindNone);
}

void TModelPanels::EmptyPanels() {
    for (QLineEdit* field : {leHeaderIdent_, leVersion_, leHeaderName_, leHeaderFlags_})
        field->clear();
    for (QComboBox* list : frameLists_)
        list->clear();
    for (QComboBox* list : {cbNamesTags_, cbTagFrameNr_, cbTagOrigins_, cbTagAxis_})
        list->clear();
    tagCount_ = 0;
    EnableTagLists();
    cbNamesSurfaces_->clear();
    // An index kept from an earlier model would rename a surface the user never chose.
    chosenSurface_ = -1;
    EmptySurfaceDetails();
    for (QLineEdit* count : {leNumFrames_, leNumTags_, leNumSurfaces_})
        count->setText(QStringLiteral("0"));
    if (cbTagPivots_) cbTagPivots_->clear();
}

void TModelPanels::RefreshMD3Panels(int modelKind) {
    modelKind_ = modelKind;
    EmptyPanels();
    if (!IsMD3Family(modelKind)) return;
    FillGeneral();
    FillFrameLists();
    FillTagLists();
    FillSurfaceLists();
    FillPivots();
    if (auto* presence = viewTab_->findChild<QLabel*>(QStringLiteral("tLODpresence")))
        presence->clear();
}

void TModelPanels::RefreshSkeletalPanels(int modelKind) {
    modelKind_ = modelKind;
    tvBones_->clear();
    if (!IsSkeletalFamily(modelKind) || mdm_ == nullptr || mdx_ == nullptr) return;
    EmptyPanels();
    FillSkeletalLists();
    if (afterSkeletalRefresh) afterSkeletalRefresh();
}

void TModelPanels::ShowTabsOfFamily(int modelKind) {
    const bool md3 = IsMD3Family(modelKind);
    const bool skeletal = IsSkeletalFamily(modelKind);
    auto show = [this](QWidget* page, bool visible) {
        pcTabs_->setTabVisible(pcTabs_->indexOf(TabOf(page)), visible);
    };
    show(generalPage_, md3);
    show(animationPage_, md3);
    show(tagsPage_, md3);
    show(surfacesPage_, md3 || skeletal);
    show(bonesPage_, skeletal);
    show(viewTab_, true);
    show(helpTab_, false);
    pcTabs_->setCurrentWidget(TabOf(viewTab_));
    if (auto* lod = viewTab_->findChild<QGroupBox*>(QStringLiteral("gbLOD")))
        lod->setEnabled(skeletal);
}

void TModelPanels::ShowHelpOnly() {
    for (int i = 0; i < pcTabs_->count(); ++i)
        pcTabs_->setTabVisible(i, pcTabs_->widget(i) == TabOf(helpTab_));
    pcTabs_->setCurrentWidget(TabOf(helpTab_));
}

bool TModelPanels::HelpOnlyShowing() const {
    return pcTabs_->isTabVisible(pcTabs_->indexOf(TabOf(helpTab_)));
}

QWidget* TModelPanels::CurrentPage() const {
    auto* area = qobject_cast<QScrollArea*>(pcTabs_->currentWidget());
    return area ? area->widget() : nullptr;
}

QWidget* TModelPanels::TabOf(QWidget* page) const {
    for (QWidget* w = page; w != nullptr; w = w->parentWidget())
        if (pcTabs_->indexOf(w) >= 0) return w;
    return nullptr;
}

void TModelPanels::FillPivots() {
    if (!cbTagPivots_) return;
    const int tags = md3_.header.numTags;
    for (int t = 0; t < tags && t < static_cast<int>(md3_.header.tags.size()); ++t)
        cbTagPivots_->addItem(NameText(md3_.header.tags[static_cast<std::size_t>(t)].name));
    cbTagPivots_->addItem(QStringLiteral("origin"));
    cbTagPivots_->setCurrentIndex(cbTagPivots_->count() - 1);
}
