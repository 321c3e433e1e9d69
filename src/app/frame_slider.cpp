#include "app/frame_slider.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

TFrameSlider::TFrameSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setMinimumHeight(sizeHint().height() + 4);
}

void TFrameSlider::SetSelection(int selStart, int selEnd) {
    if (selStart == selStart_ && selEnd == selEnd_) return;
    selStart_ = selStart;
    selEnd_ = selEnd;
    update();
}

void TFrameSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (maximum() <= minimum()) return;

    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // Handle centres, so the band ends where the handle sits for those frames.
    const int span = groove.width() - handle.width();
    auto xOf = [&](int value) {
        value = std::clamp(value, minimum(), maximum());
        return groove.x() + handle.width() / 2 +
               QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
    };
    const int left = xOf(std::min(selStart_, selEnd_));
    const int right = xOf(std::max(selStart_, selEnd_));

    QPainter painter(this);
    painter.fillRect(QRect(left, height() - 4, std::max(right - left, 2), 3),
                     palette().color(QPalette::Highlight));
}
