// The window as desktop applications behave: its title, the usual keys, Open Recent, the help
// window and the About box, driven through the keys and buttons a user presses.
#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>

#include "main_window_fixture.h"
#include "model_factory.h"

namespace {

class DesktopConventions : public MainWindowTest {
  protected:
    std::string WriteModel(const std::string& name) {
        TMD3 model;
        MakeModel(model, {.surfaces = 1, .vertsPerSurface = 12, .frames = 2, .tags = 1});
        const std::string path = dir_.File(name);
        EXPECT_TRUE(model.SaveToFile(path));
        return path;
    }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
    // Keys go to the view, the widget that has the keyboard in the window.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* view = window_->findChild<QWidget*>("oglView");
        view->setFocus();
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
    }
    QStringList RecentCaptions() {
        QStringList captions;
        for (QAction* a : window_->findChild<QMenu*>("menuFileRecent")->actions())
            if (a->objectName().startsWith("actionFileRecent") &&
                a->objectName() != "actionFileRecentClear")
                captions << a->text();
        return captions;
    }
    // Clicks `button` of the next message box named `name` once it shows; gives its text.
    void AnswerBox(const char* name, QMessageBox::StandardButton button, QString& text) {
        QTimer::singleShot(50, [name, button, &text] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box == nullptr || box->objectName() != name) continue;
                text = box->text() + box->informativeText();
                box->button(button)->click();
            }
        });
    }
};

TEST_F(DesktopConventions, TitleKeysRecentHelpAndAbout) {
    ShowAndWait();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_EQ(window_->windowTitle(), "Veldra");
    const std::string knife = WriteModel("knife.md3");
    const std::string other = WriteModel("other.md3");
    window_->LoadMD3FromFile(QString::fromStdString(knife));
    EXPECT_EQ(window_->windowTitle(), "knife.md3 — Veldra");

    // An edit marks the title; Ctrl+S writes the file it came from without asking.
    const auto before = testing_support::ReadBytes(knife);
    Action("actionModelMD3FlipX")->trigger();
    EXPECT_EQ(window_->windowTitle(), "knife.md3* — Veldra");
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(saveTitles_.isEmpty());
    EXPECT_EQ(window_->windowTitle(), "knife.md3 — Veldra");
    EXPECT_NE(testing_support::ReadBytes(knife), before);

    // Ctrl+Shift+S asks where, starting from the model's name; Ctrl+O is the general loader.
    Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(saveTitles_, QStringList{"Save a model"});
    EXPECT_EQ(window_->SuggestedSaveName(), "knife.md3");
    answerOpen_ = QString::fromStdString(other);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window_->windowTitle(), "other.md3 — Veldra");

    // Open Recent lists the latest first, opens again without a dialog, and is remembered.
    EXPECT_EQ(RecentCaptions(), (QStringList{"&1 other.md3 (file)", "&2 knife.md3 (file)"}));
    window_->findChild<QAction*>("actionFileRecent2")->trigger();
    EXPECT_EQ(window_->windowTitle(), "knife.md3 — Veldra");
    EXPECT_EQ(openTitles_.size(), 1);
    window_->close();
    window_.reset();
    MakeWindow(dir_.path());
    EXPECT_EQ(RecentCaptions(), (QStringList{"&1 knife.md3 (file)", "&2 other.md3 (file)"}));
    ShowAndWait();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));

    // F1 shows the README's "Using Veldra"; its Close button closes it.
    Press(Qt::Key_F1);
    auto* help = window_->findChild<QWidget*>("helpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->findChild<QTextBrowser*>()->toPlainText().contains("Load a model with"));
    help->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    EXPECT_FALSE(help->isVisible());

    QString about;
    AnswerBox("aboutBox", QMessageBox::Ok, about);
    Action("actionHelpAbout")->trigger();
    EXPECT_TRUE(about.contains(VELDRA_VERSION)) << about.toStdString();
    EXPECT_TRUE(about.contains("LGPL"));

    // Ctrl+Q ends the program's window.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window_->isVisible());
}

}  // namespace
