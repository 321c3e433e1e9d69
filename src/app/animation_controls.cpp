#include "app/animation_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>

#include "app/frame_slider.h"
#include "app/up_down.h"
#include "render/scene_settings.h"

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* FrameLabel(const char* name, const QString& hint, QWidget* parent) {
    auto* label = Named(new QLabel(QStringLiteral("0"), parent), name);
    label->setToolTip(hint);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    return label;
}

QSlider* FrameSlider(QSlider* slider, const char* name) {
    Named(slider, name);
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(0, 0);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    return slider;
}

}  // namespace

TAnimationControls::TAnimationControls(QWidget* parent)
    : QObject(parent),
      group_(Named(new QGroupBox(QStringLiteral("Animation"), parent), "gbAnimationControls")),
      tbStartFrame_(FrameSlider(new QSlider(group_), "tbStartFrame")),
      lStartFrame_(FrameLabel("lStartFrame", QStringLiteral("Start Frame"), group_)),
      tbEndFrame_(FrameSlider(new QSlider(group_), "tbEndFrame")),
      lEndFrame_(FrameLabel("lEndFrame", QStringLiteral("End Frame"), group_)),
      tbCurrentFrame_(new TFrameSlider(group_)),
      lCurrentFrame_(FrameLabel("lCurrentFrame", QStringLiteral("Current Frame"), group_)),
      cbPlay_(Named(new QCheckBox(QStringLiteral("Play"), group_), "cbPlay")),
      cbLoop_(Named(new QCheckBox(QStringLiteral("Loop"), group_), "cbLoop")),
      eFPS_(Named(new QLineEdit(QString::number(kDefaultFps), group_), "eFPS")),
      udFPS_(Named(new TUpDown(kMinFps, kMaxFps, kDefaultFps, group_), "udFPS")),
      cbAnimName_(Named(new QComboBox(group_), "cbAnimName")) {
    FrameSlider(tbCurrentFrame_, "tbCurrentFrame");
    cbPlay_->setChecked(true);
    cbLoop_->setChecked(true);
    eFPS_->setReadOnly(true);
    eFPS_->setMaximumWidth(eFPS_->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    cbAnimName_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbAnimName_->setMinimumContentsLength(12);

    auto* grid = new QGridLayout(group_);
    // The sliders say what they are; the numbers beside them are the frames.
    grid->addWidget(new QLabel(QStringLiteral("Start"), group_), 0, 0);
    grid->addWidget(tbStartFrame_, 0, 1);
    grid->addWidget(lStartFrame_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("End"), group_), 1, 0);
    grid->addWidget(tbEndFrame_, 1, 1);
    grid->addWidget(lEndFrame_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Frame"), group_), 2, 0);
    grid->addWidget(tbCurrentFrame_, 2, 1);
    grid->addWidget(lCurrentFrame_, 2, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(cbPlay_);
    row->addWidget(cbLoop_);
    row->addWidget(eFPS_);
    row->addWidget(udFPS_);
    auto* animationLabel = new QLabel(QStringLiteral("Animation"), group_);
    animationLabel->setBuddy(cbAnimName_);
    row->addWidget(animationLabel);
    row->addWidget(cbAnimName_, 1);
    grid->addLayout(row, 3, 0, 1, 3);

    askText = [parent](const QString& caption, const QString& prompt) -> std::optional<QString> {
        bool ok = false;
        QString text =
            QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, QString(), &ok);
        if (!ok) return std::nullopt;
        return text;
    };

    refuse = [parent](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Enter the Frame #"), text,
                        QMessageBox::Ok, parent);
        box.setObjectName("frameRefused");
        box.exec();
    };

    connect(tbStartFrame_, &QSlider::valueChanged, this, &TAnimationControls::OnStartMoved);
    connect(tbEndFrame_, &QSlider::valueChanged, this, &TAnimationControls::OnEndMoved);
    connect(tbCurrentFrame_, &QSlider::valueChanged, this, &TAnimationControls::OnCurrentMoved);
    connect(udFPS_, &TUpDown::valueChanged, this, &TAnimationControls::OnFpsChanged);
    connect(cbPlay_, &QCheckBox::clicked, this, &TAnimationControls::playToggled);
    connect(cbAnimName_, &QComboBox::activated, this, &TAnimationControls::OnAnimationChosen);
    for (QLabel* label : {lStartFrame_, lEndFrame_, lCurrentFrame_})
        label->installEventFilter(this);

    ResetAnimationControls(0);
}

int TAnimationControls::StartFrame() const {
    return tbStartFrame_->value();
}
int TAnimationControls::EndFrame() const {
    return tbEndFrame_->value();
}
bool TAnimationControls::Playing() const {
    return cbPlay_->isChecked();
}

void TAnimationControls::ResetAnimationControls(int frameCount) {
    group_->setEnabled(frameCount > 1);
    const int maximum = SliderMaximum(frameCount);
    for (QSlider* slider : {tbStartFrame_, tbEndFrame_, static_cast<QSlider*>(tbCurrentFrame_)})
        slider->setMaximum(maximum);
    SetCurrentFrame(0);
    tbStartFrame_->setValue(0);
    tbEndFrame_->setValue(maximum);
    lStartFrame_->setNum(tbStartFrame_->value());
    lEndFrame_->setNum(tbEndFrame_->value());
    tbCurrentFrame_->setValue(0);
    lCurrentFrame_->setNum(0);
    UpdateSelection();
}

void TAnimationControls::ShowCurrentFrame(int frame) {
    if (frame < 0 || frame > tbCurrentFrame_->maximum()) return;
    SetCurrentFrame(frame);
    tbCurrentFrame_->setValue(frame);
    lCurrentFrame_->setNum(frame);
}

void TAnimationControls::Tick(bool viewShown) {
    if (!cbPlay_->isChecked() || !viewShown) return;
    SetCurrentFrame(NextFrame(currentFrame_, tbStartFrame_->value(), tbEndFrame_->value(),
                              cbLoop_->isChecked()));
    tbCurrentFrame_->setValue(currentFrame_);
    lCurrentFrame_->setNum(currentFrame_);
}

void TAnimationControls::SetAnimations(std::vector<TAnimationRange> animations) {
    animations_ = std::move(animations);
    cbAnimName_->clear();
    for (const TAnimationRange& animation : animations_)
        cbAnimName_->addItem(QString::fromStdString(animation.name));
    cbAnimName_->setCurrentIndex(-1);
}

bool TAnimationControls::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == lStartFrame_) AskForFrame(tbStartFrame_, QStringLiteral("Start Frame"));
        if (watched == lEndFrame_) AskForFrame(tbEndFrame_, QStringLiteral("End Frame"));
        if (watched == lCurrentFrame_)
            AskForFrame(tbCurrentFrame_, QStringLiteral("Current Frame"));
    }
    return QObject::eventFilter(watched, event);
}

void TAnimationControls::OnStartMoved(int position) {
    lStartFrame_->setNum(position);
    UpdateSelection();
    if (!choosingAnimation_) cbAnimName_->setCurrentIndex(-1);
}

void TAnimationControls::OnEndMoved(int position) {
    lEndFrame_->setNum(position);
    UpdateSelection();
    if (!choosingAnimation_) cbAnimName_->setCurrentIndex(-1);
}

void TAnimationControls::OnCurrentMoved(int position) {
    // While playing, the timer decides the frame; the next tick moves the slider back.
    if (cbPlay_->isChecked()) return;
    SetCurrentFrame(position);
    lCurrentFrame_->setNum(position);
}

void TAnimationControls::OnFpsChanged(int fps) {
    eFPS_->setText(QString::number(fps));
    const int interval = TimerIntervalForFps(fps);
    if (interval == timerIntervalMs_) return;
    timerIntervalMs_ = interval;
    emit timerIntervalChanged(interval);
}

void TAnimationControls::OnAnimationChosen(int index) {
    if (modelKind_ != kModelKindMDMMDX) return;
    if (index < 0 || index >= static_cast<int>(animations_.size())) return;
    const TAnimationRange animation = animations_[static_cast<std::size_t>(index)];
    if (useAnimationFile && !useAnimationFile(animation.file)) {
        cbAnimName_->setCurrentIndex(-1);
        return;
    }
    choosingAnimation_ = true;
    tbStartFrame_->setValue(animation.firstFrame);
    tbEndFrame_->setValue(animation.firstFrame + animation.numFrames - 1);
    choosingAnimation_ = false;
    udFPS_->SetValue(animation.fps);
    // The slider clamps a range that reaches past the model's frames; follow the slider.
    SetCurrentFrame(tbStartFrame_->value());
    tbCurrentFrame_->setValue(currentFrame_);
    lCurrentFrame_->setNum(currentFrame_);
    lStartFrame_->setNum(tbStartFrame_->value());
    lEndFrame_->setNum(tbEndFrame_->value());
    UpdateSelection();
    // Another file's frames reset the sliders, and that clears the name.
    cbAnimName_->setCurrentIndex(index);
}

void TAnimationControls::AskForFrame(QSlider* slider, const QString& prompt) {
    if (!askText) return;
    const std::optional<QString> text = askText(QStringLiteral("Enter the Frame #"), prompt);
    if (!text) return;
    const std::optional<int> frame =
        ParseFrameNumber(text->toStdString(), slider->minimum(), slider->maximum());
    if (!frame) {
        if (refuse)
            refuse(QStringLiteral("\"%1\" is not a frame: type a whole number from %2 to %3")
                       .arg(text->trimmed())
                       .arg(slider->minimum())
                       .arg(slider->maximum()));
        return;
    }
    if (slider == tbCurrentFrame_) {
        SetCurrentFrame(*frame);
        lCurrentFrame_->setNum(*frame);
    }
    slider->setValue(*frame);
}

void TAnimationControls::SetCurrentFrame(int frame) {
    if (frame == currentFrame_) return;
    currentFrame_ = frame;
    emit currentFrameChanged(frame);
}

void TAnimationControls::UpdateSelection() {
    tbCurrentFrame_->SetSelection(tbStartFrame_->value(), tbEndFrame_->value());
}
