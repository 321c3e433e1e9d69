// Small builders shared by the model pages: named read-only fields and lists with their
// captions, and the text of a model name field.
#pragma once

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QString>

#include "md3/md3.h"

template <typename Widget>
Widget* NamedWidget(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QLineEdit* AddField(QFormLayout* form, const char* name, const QString& caption) {
    auto* edit = NamedWidget(new QLineEdit, name);
    edit->setReadOnly(true);
    form->addRow(caption, edit);
    return edit;
}

// What a list's tooltip says above the entry it shows.
inline void SetListTip(QComboBox* list, const QString& tip) {
    list->setProperty("listTip", tip);
    const QString text = list->currentText();
    list->setToolTip(text.isEmpty() ? tip : tip.isEmpty() ? text : tip + '\n' + text);
}

// The list grows to its longest entry (the pages scroll sideways rather than cut a number),
// and its tooltip repeats the entry shown in full.
inline QComboBox* AddList(QFormLayout* form, const char* name, const QString& caption) {
    auto* list = NamedWidget(new QComboBox, name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setMinimumContentsLength(16);
    QObject::connect(list, &QComboBox::currentTextChanged, list,
                     [list] { SetListTip(list, list->property("listTip").toString()); });
    form->addRow(caption, list);
    return list;
}

// Model names are bytes; Latin-1 keeps one character per byte both ways, so the 64-byte
// limit is a 64-character limit.
template <std::size_t N>
QString NameText(const char (&field)[N]) {
    return QString::fromLatin1(NameFieldText(field));
}

// A frame as the frame lists name it: its number, ": " and its name.
inline QString FrameEntry(int number, const TMD3Frame& frame) {
    return QString::number(number) + QStringLiteral(": ") + NameText(frame.name);
}
