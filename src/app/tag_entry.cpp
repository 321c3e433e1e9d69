#include "app/tag_entry.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/panel_widgets.h"

namespace {

const char* const kNumberNames[12] = {"leTagOriginX", "leTagOriginY", "leTagOriginZ", "eTagAxis0X",
                                      "eTagAxis0Y",   "eTagAxis0Z",   "eTagAxis1X",   "eTagAxis1Y",
                                      "eTagAxis1Z",   "eTagAxis2X",   "eTagAxis2Y",   "eTagAxis2Z"};

const char* const kRowCaptions[4] = {"Origin", "Axis 0", "Axis 1", "Axis 2"};

}  // namespace

TTagEntry::TTagEntry(QWidget* page)
    : group_(NamedWidget(new QGroupBox(QStringLiteral("Adding Tags"), page), "gbInsertTags")),
      leTagName_(NamedWidget(new QLineEdit(group_), "leTagName")),
      bTagFilename_(NamedWidget(new QPushButton(QStringLiteral("From .tag File..."), group_),
                                "bTagFilename")),
      leTagFilename_(NamedWidget(new QLineEdit(group_), "leTagFilename")),
      bTagAddManually_(
          NamedWidget(new QPushButton(QStringLiteral("Add"), group_), "bTagAddManually")),
      bSaveTags_(
          NamedWidget(new QPushButton(QStringLiteral("To .tag File..."), group_), "bSaveTags")) {
    leTagFilename_->setReadOnly(true);
    auto* grid = new QGridLayout(group_);
    grid->addWidget(new QLabel(QStringLiteral("Name"), group_), 0, 0);
    grid->addWidget(leTagName_, 0, 1, 1, 3);
    const char* const axes[3] = {"X", "Y", "Z"};
    for (int a = 0; a < 3; ++a)
        grid->addWidget(new QLabel(QString::fromLatin1(axes[a]), group_), 1, a + 1,
                        Qt::AlignHCenter);
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(new QLabel(QString::fromLatin1(kRowCaptions[row]), group_), row + 2, 0);
        for (int a = 0; a < 3; ++a) {
            const int i = row * 3 + a;
            numbers_[i] = NamedWidget(new QLineEdit(group_), kNumberNames[i]);
            grid->addWidget(numbers_[i], row + 2, a + 1);
        }
    }
    grid->addWidget(bTagAddManually_, 6, 1, 1, 3);
    grid->addWidget(bTagFilename_, 7, 0, 1, 2);
    grid->addWidget(leTagFilename_, 7, 2, 1, 2);
    grid->addWidget(bSaveTags_, 8, 0, 1, 2);
    if (auto* form = qobject_cast<QFormLayout*>(page->layout())) {
        form->addRow(group_);
    } else if (page->layout() != nullptr) {
        page->layout()->addWidget(group_);
    }
    Reset();
}

QString TTagEntry::Name() const {
    return leTagName_->text();
}

std::array<QString, 12> TTagEntry::Numbers() const {
    std::array<QString, 12> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = numbers_[i]->text();
    return texts;
}

void TTagEntry::Reset() {
    leTagName_->setText(QStringLiteral("tag_"));
    for (int i = 0; i < 3; ++i)
        numbers_[static_cast<std::size_t>(i)]->clear();
    for (int axis = 0; axis < 3; ++axis) {
        for (int c = 0; c < 3; ++c) {
            numbers_[static_cast<std::size_t>(3 + axis * 3 + c)]->setText(
                axis == c ? QStringLiteral("1.0") : QStringLiteral("0.0"));
        }
    }
}
