// What the window remembers from one run to the next, seen through the real file dialogs: a
// path typed into a dialog is where that dialog opens next time, save dialogs start with the
// model's name, and the animation's dialog opens where its mesh was just saved.
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSplitter>
#include <functional>

#include "app/desktop_dialogs.h"
#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/skeletal_square.h"

namespace {

class RememberedState : public MainWindowTest {
  protected:
    // The real dialogs; the game-path question of a first start is cancelled. False when the
    // window cannot take the keyboard: test programs running side by side share one display,
    // and another one's window may hold it.
    bool UseRealDialogs() {
        UseDesktopDialogs(*window_);
        window_->Prompts().message = [this](const QString&, const QString& text, bool) {
            messages_ << text;
        };
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get())) return false;
        QTest::qWait(50);
        for (int attempt = 0; attempt < 5; ++attempt) {
            window_->activateWindow();
            if (QTest::qWaitForWindowActive(window_.get(), 1000)) return true;
        }
        return false;
    }
    // Runs `answer` on each file dialog as it shows, in turn, until `answers` is used up.
    void AnswerDialogs(std::vector<std::function<void(QFileDialog&)>> answers) {
        answers_ = std::move(answers);
        if (dialogWatcher_.isActive()) return;
        QObject::connect(&dialogWatcher_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || answers_.empty()) return;
            auto answer = answers_.front();
            answers_.erase(answers_.begin());
            answer(*dialog);
        });
        dialogWatcher_.start(20);
    }
    // Types the folder of `path` where the file name goes and presses Enter, which takes the
    // dialog there, then the file's name and Enter, as a user does.
    static void TypePath(QFileDialog& dialog, const QString& path) {
        auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
        QTest::qWait(50);
        for (const QString& typed :
             {QFileInfo(path).absolutePath() + '/', QFileInfo(path).fileName()}) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            // The dialog reads folders in the background; on a busy machine that takes a while.
            QTest::qWait(250);
            if (edit->completer() != nullptr) edit->completer()->popup()->hide();
            QTest::keyClick(edit, Qt::Key_Return);
        }
    }
    void Press(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* view = window_->findChild<QWidget*>("oglView");
        view->setFocus();
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
    }
    QSplitter* Splitter() { return window_->findChild<QSplitter*>("splitter"); }

    QTimer dialogWatcher_;
    std::vector<std::function<void(QFileDialog&)>> answers_;
};

TEST_F(RememberedState, WindowPlaceAndATypedDialogFolderComeBack) {
    const auto models = dir_.path() / "models";
    std::filesystem::create_directories(models);
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 12, .frames = 1, .tags = 0});
    ASSERT_TRUE(model.SaveToFile((models / "crate.md3").string()));

    AnswerDialogs({
        [](QFileDialog& d) { d.reject(); },  // the game path
        [&](QFileDialog& d) {
            TypePath(d, QString::fromStdString((models / "crate.md3").string()));
        },
    });
    if (!UseRealDialogs()) GTEST_SKIP() << "another program's window holds the display's keyboard";
    window_->resize(900, 650);
    Splitter()->setSizes({520, 380});
    const QList<int> sizes = Splitter()->sizes();
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window_->windowTitle().toStdString(), "crate.md3 — Veldra");
    window_->close();
    window_.reset();

    MakeWindow(dir_.path());
    QString openedIn;
    AnswerDialogs({
        [](QFileDialog& d) { d.reject(); },
        [&](QFileDialog& d) {
            openedIn = d.directory().absolutePath();
            d.reject();
        },
    });
    if (!UseRealDialogs()) GTEST_SKIP() << "another program's window holds the display's keyboard";
    EXPECT_EQ(window_->size(), QSize(900, 650));
    EXPECT_EQ(Splitter()->sizes(), sizes);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(openedIn.toStdString(), models.string());
}

TEST_F(RememberedState, TheAnimationIsSavedWhereItsMeshWasAndACancelSaysWhatWasSaved) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {});
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("square.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("square.mdx")));
    const auto out = dir_.path() / "out";
    std::filesystem::create_directories(out);

    QString meshName, animFolder, animName;
    AnswerDialogs({
        [](QFileDialog& d) { d.reject(); },
        [&](QFileDialog& d) {
            meshName = d.findChild<QLineEdit*>("fileNameEdit")->text();
            TypePath(d, QString::fromStdString((out / "hero.mdm").string()));
        },
        [&](QFileDialog& d) {
            animFolder = d.directory().absolutePath();
            animName = d.findChild<QLineEdit*>("fileNameEdit")->text();
            d.reject();
        },
    });
    if (!UseRealDialogs()) GTEST_SKIP() << "another program's window holds the display's keyboard";
    window_->LoadMDMMDXFromFiles(QString::fromStdString(dir_.File("square.mdm")),
                                 QString::fromStdString(dir_.File("square.mdx")));
    Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(meshName.toStdString(), "square.mdm");
    EXPECT_EQ(animFolder.toStdString(), out.string());
    EXPECT_EQ(animName.toStdString(), "hero.mdx");
    EXPECT_TRUE(std::filesystem::exists(out / "hero.mdm"));
    EXPECT_EQ(window_->StatusText().toStdString(),
              "Model saved to file(s): hero.mdm; animation not saved: the second dialog was "
              "cancelled");
}

}  // namespace
