#include "app/view_switch_pair.h"

#include <QAction>
#include <QCheckBox>

TViewSwitchPair::TViewSwitchPair(QCheckBox* box, QAction* item, std::function<void(bool)> changed)
    : QObject(box), box_(box), item_(item), changed_(std::move(changed)) {
    item_->setCheckable(true);
    connect(box_, &QCheckBox::toggled, this, &TViewSwitchPair::Changed);
    connect(item_, &QAction::toggled, this, &TViewSwitchPair::Changed);
}

bool TViewSwitchPair::IsOn() const {
    return box_->isChecked();
}

void TViewSwitchPair::SetQuietly(bool on) {
    syncing_ = true;
    box_->setChecked(on);
    item_->setChecked(on);
    syncing_ = false;
}

void TViewSwitchPair::Set(bool on) {
    if (box_->isChecked() == on && item_->isChecked() == on) return;
    box_->setChecked(on);
}

void TViewSwitchPair::SetCaption(const QString& caption) {
    box_->setText(caption);
    item_->setText(caption);
}

void TViewSwitchPair::Changed(bool on) {
    if (syncing_) return;
    syncing_ = true;
    box_->setChecked(on);
    item_->setChecked(on);
    syncing_ = false;
    if (changed_) changed_(on);
}
