// A view switch shown twice, as a check box on the "View" tab and as a checkable menu item:
// toggling either one sets the other and reports the new state once.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QCheckBox;

class TViewSwitchPair : public QObject {
    Q_OBJECT
  public:
    TViewSwitchPair(QCheckBox* box, QAction* item, std::function<void(bool)> changed);

    bool IsOn() const;
    // Sets both without reporting (used when settings are applied).
    void SetQuietly(bool on);
    // Sets both and reports, as a click would.
    void Set(bool on);
    void SetCaption(const QString& caption);

    QCheckBox* Box() const { return box_; }
    QAction* Item() const { return item_; }

  private:
    void Changed(bool on);

    QCheckBox* box_;
    QAction* item_;
    std::function<void(bool)> changed_;
    bool syncing_ = false;
};
