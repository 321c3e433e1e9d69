// Menu entries made the one way the window makes them: caption, object name (the tests find
// entries by it) and an optional shortcut.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QString>

inline QAction* MakeAction(QObject* parent, const char* name, const QString& caption,
                           const QString& shortcut = QString()) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
    return action;
}
