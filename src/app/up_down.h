// Up and down arrow buttons that step a value within a range, with no text field of their
// own: the value is shown by a separate read-only edit.
#pragma once

#include <QWidget>

class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
  public:
    TUpDown(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int Value() const { return value_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Clamped to the range; emits valueChanged only when the value changes.
    void SetValue(int value);
    void StepUp() { SetValue(value_ + 1); }
    void StepDown() { SetValue(value_ - 1); }

  signals:
    void valueChanged(int value);

  private:
    int minimum_;
    int maximum_;
    int value_;
    QToolButton* up_;
    QToolButton* down_;
};
