// The question before unsaved changes would be lost: loading another model, "Clear" and
// closing the window ask "Save changes to ...?" with Save, Discard and Cancel.
#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>

#include "app/main_window.h"

bool TMainWindow::SettleUnsavedChanges() {
    if (!document_.Modified()) return true;
    const QString name = QString::fromStdString(document_.name);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Veldra"),
                    QStringLiteral("Save changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("unsavedChangesQuestion");
    box.setDefaultButton(QMessageBox::Save);
    // A load's busy cursor would hide that the question waits for an answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    QString status;
    SaveModelAs(status);
    if (!status.isEmpty()) SetStatus(status);
    // A cancelled or failed save keeps the changes, and with them the model.
    return !document_.Modified();
}
