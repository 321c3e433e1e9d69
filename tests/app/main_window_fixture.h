// A main window in a program folder of its own, with every dialog answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QStringList>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "support/test_files.h"

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::copy(VELDRA_TEXTURES_DIR, dir_.path() / "textures",
                              std::filesystem::copy_options::recursive);
        MakeWindow(dir_.path());
        // The window's "Save changes to ...?" box is answered through its buttons, as a user
        // answers it, whichever command or test step opens it.
        QObject::connect(&saveQuestionAnswerer_, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box == nullptr || box->objectName() != "unsavedChangesQuestion" ||
                    !box->isVisible())
                    continue;
                saveQuestions_ << box->text();
                box->button(saveAnswer_)->click();
                return;
            }
        });
        saveQuestionAnswerer_.start(10);
    }

    // A window in `appDir` whose dialogs this test answers.
    void MakeWindow(const std::filesystem::path& appDir) {
        window_ = std::make_unique<TMainWindow>(QString::fromStdString(appDir.string()));
        TUserPrompts& p = window_->Prompts();
        p.openFile = [this](const QString& title, const QStringList& filters, int& index) {
            openTitles_ << title;
            offeredFilters_ = filters;
            busyCursorOverDialog_ |= QApplication::overrideCursor() != nullptr;
            index = answerFilterIndex_;
            return answerOpen_;
        };
        p.saveFile = [this](const QString& title, const QString&, const QString& suffix) {
            saveTitles_ << title;
            saveSuffix_ = suffix;
            busyCursorOverDialog_ |= QApplication::overrideCursor() != nullptr;
            return answerSave_;
        };
        p.chooseFolder = [this](const QString& caption) {
            folderCaptions_ << caption;
            return answerFolder_;
        };
        p.message = [this](const QString&, const QString& text, bool) { messages_ << text; };
        p.chooseColour = [this](std::uint32_t) { return answerColour_; };
    }

    void TearDown() override {
        saveAnswer_ = QMessageBox::Discard;
        if (window_) window_->close();
        window_.reset();
        saveQuestionAnswerer_.stop();
        // A window that ended the program (a failed start) asked the event loop to quit; the
        // request outlives the test and would end every later dialog's loop at once. Running
        // the application's loop once takes it back.
        bool ran = false;
        QTimer::singleShot(0, qApp, [&ran] {
            ran = true;
            QCoreApplication::exit(0);
        });
        while (!ran)
            QCoreApplication::exec();
    }

    void ShowAndWait() {
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        QTest::qWait(50);  // lets the first showing run its queued steps
    }

    // Saves what the window shows for a person to look at.
    void SaveWindowPicture(const QString& name) {
        std::filesystem::create_directories(VELDRA_SCREENSHOT_DIR);
        window_->grab().save(QString(VELDRA_SCREENSHOT_DIR) + "/" + name + ".png");
        if (auto* view = window_->findChild<QOpenGLWidget*>("oglView")) {
            view->grabFramebuffer().save(QString(VELDRA_SCREENSHOT_DIR) + "/" + name + "_view.png");
        }
    }

    std::string SampleMD3(const std::string& name) {
        return (testing_support::SampleDir("md3") / name).string();
    }

    testing_support::ScratchDir dir_;
    std::unique_ptr<TMainWindow> window_;
    QString answerOpen_;
    int answerFilterIndex_ = 0;
    QString answerSave_;
    QString answerFolder_;
    std::optional<std::uint32_t> answerColour_;
    QStringList openTitles_, saveTitles_, folderCaptions_, messages_, offeredFilters_;
    QString saveSuffix_;
    bool busyCursorOverDialog_ = false;
    QTimer saveQuestionAnswerer_;
    QMessageBox::StandardButton saveAnswer_ = QMessageBox::Discard;
    QStringList saveQuestions_;
};
