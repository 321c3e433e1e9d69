// What users of desktop applications expect of the window: the title names the model and
// shows "*" while it has unsaved changes, Save writes the file the model came from, the
// usual keys (Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+Q, F1) do the usual things, and the Help
// menu has the manual and an About box.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/command_end.h"
#include "app/help_text.h"
#include "app/main_window.h"
#include "app/menu_action.h"

namespace {

QString UpperSuffixOf(const std::string& name) {
    return QFileInfo(QString::fromStdString(name)).suffix().toUpper();
}

}  // namespace

void TMainWindow::BuildDesktopActions() {
    // Ctrl+S now saves in place; Save As keeps its menu entry and moves to Ctrl+Shift+S, and
    // the general loader keeps Ctrl+Alt+L beside the usual Ctrl+O.
    actionFileSave_ = MakeAction(this, "actionFileSave", "Save");
    actionFileSave_->setShortcut(QKeySequence::Save);
    actionFileSaveAs_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    actionFileLoadAnyFromFile_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+O")), QKeySequence(QStringLiteral("Ctrl+Alt+L"))});
    actionFileExit_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(actionFileSave_, &QAction::triggered, this,
            [this] { Guarded([this] { SaveCommand(); }); });

    actionHelpContents_ = MakeAction(this, "actionHelpContents", "Using Veldra", "F1");
    connect(actionHelpContents_, &QAction::triggered, this, &TMainWindow::ShowHelpWindow);
    actionHelpAbout_ = MakeAction(this, "actionHelpAbout", "About Veldra");
    connect(actionHelpAbout_, &QAction::triggered, this, &TMainWindow::ShowAbout);

    menuRecent_ = new QMenu(QStringLiteral("Open &Recent"), this);
    menuRecent_->setObjectName("menuFileRecent");
    menuRecent_->setToolTipsVisible(true);
    RebuildRecentMenu();
}

void TMainWindow::AddDesktopMenuEntries(QMenu& file) {
    const QList<QAction*> entries = file.actions();
    const qsizetype any = entries.indexOf(actionFileLoadAnyFromFile_);
    QAction* afterAny = any + 1 < entries.size() ? entries[any + 1] : nullptr;
    file.insertMenu(afterAny, menuRecent_);
    file.insertAction(actionFileSaveAs_, actionFileSave_);
}

void TMainWindow::BuildHelpMenu() {
    // The Help entry of the menu bar becomes a menu: its command (the Help tab) stays first.
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName("menuHelp");
    help->addAction(actionHelp_);
    help->addAction(actionHelpContents_);
    help->addSeparator();
    help->addAction(actionHelpAbout_);
}

void TMainWindow::ShowTitle() {
    // A cleared model keeps its name on the model's group box, not in the title.
    setWindowTitle(document_.Empty()
                       ? QStringLiteral("Veldra")
                       : QString::fromStdString(document_.Caption()) + QStringLiteral(" — Veldra"));
    if (actionFileSave_ != nullptr) actionFileSave_->setEnabled(!document_.Empty());
}

bool TMainWindow::SaveInPlace(QString& status) {
    // Only a file in a format this program writes goes back where it was.
    const std::string& file = document_.file;
    if (file.empty()) return false;
    const QString suffix = UpperSuffixOf(file);
    if (IsMD3Family(document_.kind) && (suffix == "MD3" || suffix == "MDC")) {
        if (!document_.md3.SaveToFile(file)) {
            status = "Model not saved: " + QString::fromStdString(document_.md3.LastError());
            return true;
        }
        MarkModelSaved();
        status = "Model saved to file: " + QString::fromStdString(document_.name);
        return true;
    }
    if (!IsSkeletalFamily(document_.kind) || suffix != "MDM" || document_.animationFile.empty())
        return false;
    if (!document_.mdm.SaveToFile(file)) {
        status = "Model not saved: " + QString::fromStdString(document_.mdm.LastError());
        return true;
    }
    if (!document_.mdx.SaveToFile(document_.animationFile)) {
        status = "Model saved to file(s): " + QString::fromStdString(document_.name) +
                 "; animation not saved: " + QString::fromStdString(document_.mdx.LastError());
        return true;
    }
    MarkModelSaved();
    status = "Model saved to file(s): " + QString::fromStdString(document_.name) + " & " +
             QFileInfo(QString::fromStdString(document_.animationFile)).fileName();
    return true;
}

void TMainWindow::SaveCommand() {
    if (document_.Empty()) return;
    SetStatus("");
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    // A model from an archive, an import or a character has no file of its own to go back
    // to: Save asks where, as Save As does.
    if (!SaveInPlace(status)) SaveModelAs(status);
}

void TMainWindow::SuggestSaveName(const std::string& base, const QString& suffix) {
    const QString name = QFileInfo(QString::fromStdString(base)).completeBaseName();
    suggestedSaveName_ = name.isEmpty() ? QString() : name + '.' + suffix;
}

void TMainWindow::ShowHelpWindow() {
    if (!helpWindow_) {
        auto* window = new QDialog(this);
        window->setObjectName("helpWindow");
        window->setWindowTitle(QStringLiteral("Using Veldra"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(window);
        auto* text = new QTextBrowser(window);
        text->setObjectName("helpWindowText");
        text->setMarkdown(UsingVeldraText());
        layout->addWidget(text);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
        connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
        layout->addWidget(buttons);
        window->resize(720, 640);
        helpWindow_ = window;
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TMainWindow::ShowAbout() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Veldra"),
                    QStringLiteral("<h3>Veldra %1</h3>").arg(QStringLiteral(VELDRA_VERSION)),
                    QMessageBox::Ok, this);
    box.setObjectName("aboutBox");
    box.setInformativeText(
        QStringLiteral(
            "<p>Views, converts and edits the models of Quake III-engine games as Wolfenstein: "
            "Enemy Territory uses them.</p>"
            "<p>Built with these libraries, under their licences:</p><ul>"
            "<li>Qt %1 — GNU LGPL version 3</li>"
            "<li>OpenGL and GLU (Mesa) — MIT and SGI Free Software License B</li>"
            "<li>libzip — BSD 3-clause</li>"
            "<li>zlib — zlib licence</li>"
            "<li>libjpeg-turbo — IJG licence and BSD 3-clause</li>"
            "<li>TinyGLTF — MIT</li>"
            "<li>JSON for Modern C++ (nlohmann) — MIT</li>"
            "<li>CLI11 (veldra-cli) — BSD 3-clause</li></ul>")
            .arg(QString::fromLatin1(qVersion())));
    box.exec();
}
