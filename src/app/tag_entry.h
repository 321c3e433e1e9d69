// The "Adding Tags" group of the "Tags" tab: the fields a new tag is typed into, and the
// buttons that add tags from a tag file, add the typed tag and save the tags to a tag file.
// The main window runs the commands behind the buttons.
#pragma once

#include <QString>
#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

class TTagEntry {
  public:
    // Appends the group to the page's layout.
    explicit TTagEntry(QWidget* page);

    QGroupBox* Group() const { return group_; }
    QPushButton* FromFileButton() const { return bTagFilename_; }
    QPushButton* AddButton() const { return bTagAddManually_; }
    QPushButton* SaveButton() const { return bSaveTags_; }
    QLineEdit* FileNameField() const { return leTagFilename_; }

    QString Name() const;
    // Origin x, y, z, then axis 0, 1 and 2, each x, y, z, as typed.
    std::array<QString, 12> Numbers() const;
    // The texts a new tag starts from: "tag_", no origin, the identity axes.
    void Reset();

  private:
    QGroupBox* group_;
    QLineEdit* leTagName_;
    // leTagOriginX ... Z, then eTagAxis0X ... eTagAxis2Z.
    std::array<QLineEdit*, 12> numbers_{};
    QPushButton* bTagFilename_;
    QLineEdit* leTagFilename_;
    QPushButton* bTagAddManually_;
    QPushButton* bSaveTags_;
};
