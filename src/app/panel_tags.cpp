// The "Tags" page: the tag names of frame 0, the frames, and the origin and axes of every tag
// of every frame, kept on the same tag and frame.
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>

#include "app/model_panels.h"
#include "app/number_text.h"
#include "app/panel_widgets.h"
#include "md3/md3.h"

namespace {

QString AxisEntry(const TMD3Tag& tag) {
    std::string text;
    for (int a = 0; a < 3; ++a)
        text += (a == 0 ? "(" : "    (") + PlainDecimalText(tag.axis[a].x) + "  " +
                PlainDecimalText(tag.axis[a].y) + "  " + PlainDecimalText(tag.axis[a].z) + ")";
    return QString::fromStdString(text);
}

}  // namespace

void TModelPanels::BuildTagsPage() {
    tagsPage_ = NamedWidget(new QWidget, "tsTags");
    auto* form = new QFormLayout(tagsPage_);
    leNumTags_ = AddField(form, "leNumTags", QStringLiteral("# Tags"));
    cbNamesTags_ = AddList(form, "cbNamesTags", QStringLiteral("Tag"));
    cbTagFrameNr_ = AddList(form, "cbTagFrameNr", QStringLiteral("Frame"));
    cbTagOrigins_ = AddList(form, "cbTagOrigins", QStringLiteral("Origin"));
    cbTagAxis_ = AddList(form, "cbTagAxis", QStringLiteral("Axes"));
    SetListTip(cbTagAxis_, QStringLiteral("Axis Vectors: (X,Y,Z)"));
    for (QComboBox* list : {cbNamesTags_, cbTagFrameNr_})
        connect(list, &QComboBox::currentIndexChanged, this, &TModelPanels::OnTagNameOrFrameChosen);
    for (QComboBox* list : {cbTagOrigins_, cbTagAxis_})
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, list](int entry) { OnTagEntryChosen(list, entry); });
}

void TModelPanels::FillTagLists() {
    const THeader& header = md3_.header;
    const int frames = std::min(header.numFrames, static_cast<int>(header.frames.size()));
    // A tag array shorter than its counts claim shows the whole frames it holds.
    const int tags = header.numTags > 0 ? header.numTags : 0;
    const int tagFrames =
        tags > 0 ? std::min(frames, static_cast<int>(header.tags.size()) / tags) : 0;
    leNumTags_->setText(QString::number(header.numTags));
    tagCount_ = tagFrames > 0 ? tags : 0;

    linking_ = true;
    for (int t = 0; t < tagCount_; ++t)
        cbNamesTags_->addItem(NameText(header.tags[static_cast<std::size_t>(t)].name));
    for (int f = 0; f < frames; ++f)
        cbTagFrameNr_->addItem(FrameEntry(f, header.frames[static_cast<std::size_t>(f)]));
    for (std::size_t k = 0; k < static_cast<std::size_t>(tagFrames) * tagCount_; ++k) {
        cbTagOrigins_->addItem(QString::fromStdString(Vector3Text(header.tags[k].origin)));
        cbTagAxis_->addItem(AxisEntry(header.tags[k]));
    }
    for (QComboBox* list : {cbNamesTags_, cbTagFrameNr_, cbTagOrigins_, cbTagAxis_})
        list->setCurrentIndex(list->count() > 0 ? 0 : -1);
    linking_ = false;
    EnableTagLists();
}

void TModelPanels::EnableTagLists() {
    cbNamesTags_->setEnabled(tagCount_ > 0);
    cbTagFrameNr_->setEnabled(tagCount_ > 0 && cbTagFrameNr_->count() > 1);
}

void TModelPanels::OnTagNameOrFrameChosen() {
    if (linking_ || tagCount_ == 0) return;
    const int tag = cbNamesTags_->currentIndex();
    const int frame = cbTagFrameNr_->currentIndex();
    if (tag < 0 || frame < 0) return;
    linking_ = true;
    cbTagOrigins_->setCurrentIndex(frame * tagCount_ + tag);
    cbTagAxis_->setCurrentIndex(frame * tagCount_ + tag);
    linking_ = false;
}

void TModelPanels::OnTagEntryChosen(QComboBox* source, int entry) {
    if (linking_ || tagCount_ == 0 || entry < 0) return;
    linking_ = true;
    cbNamesTags_->setCurrentIndex(entry % tagCount_);
    cbTagFrameNr_->setCurrentIndex(entry / tagCount_);
    (source == cbTagOrigins_ ? cbTagAxis_ : cbTagOrigins_)->setCurrentIndex(entry);
    linking_ = false;
}
