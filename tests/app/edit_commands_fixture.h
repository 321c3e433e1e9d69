// A main window with a model loaded from a scratch folder, and every question of the edit
// commands answered by the test.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <deque>
#include <optional>

#include "main_window_fixture.h"
#include "model_factory.h"

// Failures show texts, not their code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class EditCommandsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TUserPrompts& p = window_->Prompts();
        p.askText = [this](const QString& caption, const QString& prompt, const QString& text) {
            asked_ << caption + "|" + prompt + "|" + text;
            if (textAnswers_.empty()) return std::optional<QString>();
            std::optional<QString> answer = textAnswers_.front();
            textAnswers_.pop_front();
            return answer;
        };
        p.askYesNoCancel = [this](const QString& caption, const QString& text) {
            asked_ << caption + "|" + text;
            return answerQuestion_;
        };
        p.openFiles = [this](const QString& title, const QString&) {
            openTitles_ << title;
            return answerOpenFiles_;
        };
    }

    std::string WriteModel(const std::string& name, const ModelShape& shape) {
        TMD3 model;
        MakeModel(model, shape);
        return Save(model, name);
    }
    std::string Save(TMD3& model, const std::string& name) {
        const std::string path = dir_.File(name);
        EXPECT_TRUE(model.SaveToFile(path));
        return path;
    }
    void Load(const std::string& path) {
        window_->LoadMD3FromFile(QString::fromStdString(path));
        ASSERT_EQ(window_->ModelKind(), kModelKindMD3);
    }
    void LoadModel(const ModelShape& shape) { Load(WriteModel("model.md3", shape)); }

    QAction* Action(const char* name) {
        QAction* action = window_->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    void Run(const char* name) { Action(name)->trigger(); }
    template <typename Widget>
    Widget* Child(const char* name) {
        Widget* widget = window_->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString ModelCaption() { return Child<QGroupBox>("gbModel")->title(); }
    QString ListText(const char* list, int index) {
        return Child<QComboBox>(list)->itemText(index);
    }
    TMD3Vertex Vertex(int surface, int index) {
        return window_->MD3()
            .header.surfaces[static_cast<std::size_t>(surface)]
            .vertices[static_cast<std::size_t>(index)];
    }

    std::deque<std::optional<QString>> textAnswers_;
    TAnswer answerQuestion_ = TAnswer::Cancel;
    QStringList answerOpenFiles_;
    QStringList asked_;
};
