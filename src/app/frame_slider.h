// A horizontal frame slider that also shows a selected range of frames, the way the
// current-frame slider shows the playback range (QSlider has no selection of its own).
#pragma once

#include <QSlider>

class TFrameSlider : public QSlider {
    Q_OBJECT
  public:
    explicit TFrameSlider(QWidget* parent = nullptr);

    // The ends may come in either order: the range is not kept in order.
    void SetSelection(int selStart, int selEnd);
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int selStart_ = 0;
    int selEnd_ = 0;
};
