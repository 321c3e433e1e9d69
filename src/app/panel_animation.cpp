// The "Animation" page: five lists with one entry per frame that always select the same frame.
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>

#include "app/model_panels.h"
#include "app/number_text.h"
#include "app/panel_widgets.h"
#include "md3/md3.h"

void TModelPanels::BuildAnimationPage() {
    animationPage_ = NamedWidget(new QWidget, "tsAnimation");
    auto* form = new QFormLayout(animationPage_);
    leNumFrames_ = AddField(form, "leNumFrames", QStringLiteral("# Frames"));
    frameLists_ = {
        AddList(form, "cbNamesFrames", QStringLiteral("Frame")),
        AddList(form, "cbBBMinFrames", QStringLiteral("BoundingBox Min.")),
        AddList(form, "cbBBMaxFrames", QStringLiteral("BoundingBox Max.")),
        AddList(form, "cbOriginFrames", QStringLiteral("Local Origin")),
        AddList(form, "cbRadiusFrames", QStringLiteral("BoundingSphere Radius")),
    };
    for (QComboBox* list : frameLists_)
        connect(list, &QComboBox::currentIndexChanged, this, &TModelPanels::OnFrameChosen);
}

void TModelPanels::FillFrameLists() {
    const THeader& header = md3_.header;
    const int frames = std::min(header.numFrames, static_cast<int>(header.frames.size()));
    leNumFrames_->setText(QString::number(header.numFrames));
    linking_ = true;
    for (int f = 0; f < frames; ++f) {
        const TMD3Frame& frame = header.frames[static_cast<std::size_t>(f)];
        frameLists_[0]->addItem(FrameEntry(f, frame));
        frameLists_[1]->addItem(QString::fromStdString(Vector3Text(frame.minBounds)));
        frameLists_[2]->addItem(QString::fromStdString(Vector3Text(frame.maxBounds)));
        frameLists_[3]->addItem(QString::fromStdString(Vector3Text(frame.localOrigin)));
        frameLists_[4]->addItem(QString::fromStdString(FloatText(frame.radius)));
    }
    for (QComboBox* list : frameLists_)
        list->setCurrentIndex(frames > 0 ? 0 : -1);
    linking_ = false;
}

void TModelPanels::OnFrameChosen(int index) {
    if (linking_) return;
    linking_ = true;
    for (QComboBox* list : frameLists_)
        list->setCurrentIndex(index);
    linking_ = false;
}
