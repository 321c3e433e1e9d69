// What the window keeps from one run to the next beside its settings: its size and place,
// the divider between view and tabs, the tab chosen, and the folder each file dialog was
// left in. Stored with the settings when the window closes.
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSplitter>
#include <QTabWidget>

#include "app/main_window.h"

namespace {

QByteArray Decoded(const std::string& text) {
    return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

std::string Encoded(const QByteArray& bytes) {
    return bytes.toBase64().toStdString();
}

}  // namespace

void TMainWindow::RestoreWindowPlace() {
    // A place on a screen that is gone is moved back onto one by the toolkit.
    if (!desktop_.windowGeometry.empty()) restoreGeometry(Decoded(desktop_.windowGeometry));
    if (!desktop_.splitter.empty())
        findChild<QSplitter*>("splitter")->restoreState(Decoded(desktop_.splitter));
}

void TMainWindow::RestoreChosenTab() {
    // A page the loaded family does not show stays hidden; the first one shown is chosen.
    auto* page = pcTabs_->findChild<QWidget*>(QString::fromStdString(desktop_.tab));
    const int index = page != nullptr ? pcTabs_->indexOf(page) : -1;
    if (index >= 0 && pcTabs_->isTabVisible(index)) pcTabs_->setCurrentIndex(index);
}

void TMainWindow::TakeWindowPlace() {
    desktop_.windowGeometry = Encoded(saveGeometry());
    desktop_.splitter = Encoded(findChild<QSplitter*>("splitter")->saveState());
    // Help alone is what a first start shows, not a choice.
    if (QWidget* page = pcTabs_->currentWidget(); page != nullptr && page != helpTab_)
        desktop_.tab = page->objectName().toStdString();
}

QString TMainWindow::DialogFolder(const QString& title) const {
    const auto found = desktop_.dialogFolders.find(title.toStdString());
    if (found != desktop_.dialogFolders.end() &&
        QDir(QString::fromStdString(found->second)).exists())
        return QString::fromStdString(found->second);
    // A dialog used for the first time starts beside the model, else in the user's home.
    if (!document_.file.empty())
        return QFileInfo(QString::fromStdString(document_.file)).absolutePath();
    return QDir::homePath();
}

void TMainWindow::RememberDialogFolder(const QString& title, const QString& folder) {
    if (!folder.isEmpty()) desktop_.dialogFolders[title.toStdString()] = folder.toStdString();
}
