// Loads that fail or would replace unsaved work: the loaded model, its edits and its history
// stay unless the user gives them up; and the general loader reads the file as the type the
// user chose in the real file dialog.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/desktop_dialogs.h"
#include "app/model_snapshot.h"
#include "edit_commands_fixture.h"
#include "support/skeletal_square.h"

namespace {

class LoadKeepsWork : public EditCommandsTest {
  protected:
    // A model with an edit that is not saved: "model.md3*", one step to undo.
    void LoadAndEdit() {
        LoadModel(kShape);
        Run("actionModelMD3FlipX");
        ASSERT_EQ(ModelCaption(), "model.md3*");
    }
    QString File(const std::string& name) { return QString::fromStdString(dir_.File(name)); }
    QString Garbage(const std::string& name) {
        testing_support::WriteBytes(dir_.File(name), std::vector<std::uint8_t>(300, 7));
        return File(name);
    }

    // Answers the next file dialog as a user does: the file type picked in its list with the
    // arrow keys, the file's name entered, Return pressed.
    void AnswerFileDialog(const QString& type, const QString& file) {
        auto* poll = new QTimer(window_.get());
        QObject::connect(poll, &QTimer::timeout, [poll, type, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(types, nullptr);
            ASSERT_NE(name, nullptr);
            types->setFocus();
            for (int i = 0; i < types->count() && types->currentText() != type; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            EXPECT_EQ(types->currentText(), type);
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        });
        poll->start(10);
    }

    static constexpr ModelShape kShape{.surfaces = 2, .vertsPerSurface = 16, .frames = 2};
};

TEST_F(LoadKeepsWork, FailedLoadsKeepTheModelItsEditsAndHistory) {
    ShowAndWait();
    LoadAndEdit();
    const TMD3 edited = window_->MD3();
    // The skin chosen for the model belongs to it as well.
    std::ofstream(dir_.File("model.skin")) << "surface0,textures/x.tga\n";
    window_->HandleDroppedFiles({File("model.skin")});
    ASSERT_EQ(window_->StatusText(), "Skin loaded");
    const QString shortMD3 = Garbage("short.md3");
    const QString notMDS = QString::fromStdString(WriteModel("model_as.mds", kShape));
    struct Case {
        const char* what;
        std::function<void()> load;
        const char* status;  // how the status text starts
    };
    const Case cases[] = {
        {"MD3 command", [&] { window_->LoadMD3FromFile(shortMD3); }, "MD3 not loaded: "},
        {"general loader",
         [&] {
             answerOpen_ = shortMD3;
             answerFilterIndex_ = 0;
             Run("actionFileLoadAnyFromFile");
         },
         "MD3 not loaded: "},
        {"a file of another kind", [&] { window_->LoadMDSFromFile(notMDS); }, "MDS not loaded: "},
        {"dropped pair",
         [&] {
             window_->HandleDroppedFiles({Garbage("bad.mdm"), Garbage("bad.mdx")});
         },
         "MDM not loaded: bad.mdm"},
        {"MilkShape", [&] { window_->HandleDroppedFiles({Garbage("bad.ms3d")}); },
         "MS3D not loaded: bad.ms3d"},
        {"map", [&] { window_->LoadMapFromFile(File("absent.map")); }, "MAP not loaded: "},
    };
    for (const Case& c : cases) {
        c.load();
        EXPECT_TRUE(window_->StatusText().startsWith(c.status))
            << c.what << ": " << window_->StatusText().toStdString();
        EXPECT_EQ(window_->ModelKind(), kModelKindMD3) << c.what;
        EXPECT_TRUE(SameModel(window_->MD3(), edited)) << c.what;
        EXPECT_EQ(ModelCaption(), "model.md3*") << c.what;
        EXPECT_EQ(window_->findChild<QLineEdit*>("leSkinFile")->text(), "model.skin") << c.what;
        EXPECT_TRUE(Action("actionEditUndo")->isEnabled()) << c.what;
        EXPECT_FALSE(window_->Busy()) << c.what;
    }
    EXPECT_TRUE(saveQuestions_.isEmpty()) << "nothing was read that could replace the model";
    Run("actionEditUndo");
    EXPECT_EQ(window_->StatusText(), "Undone: Mirror X");
    EXPECT_EQ(ModelCaption(), "model.md3");
}

TEST_F(LoadKeepsWork, UnsavedChangesAreAskedAboutBeforeTheyAreLost) {
    ShowAndWait();
    LoadAndEdit();
    const float editedX = Vertex(0, 0).x;
    const QString next = QString::fromStdString(WriteModel("next.md3", kShape));

    saveAnswer_ = QMessageBox::Cancel;
    window_->LoadMD3FromFile(next);
    EXPECT_EQ(saveQuestions_, QStringList{"Save changes to model.md3?"});
    EXPECT_EQ(ModelCaption(), "model.md3*");
    EXPECT_EQ(Vertex(0, 0).x, editedX);
    EXPECT_EQ(window_->StatusText(), "Not loaded: the changes to the loaded model are kept");

    // Save writes the changes, then the other model loads.
    saveAnswer_ = QMessageBox::Save;
    answerSave_ = File("saved.md3");
    window_->LoadMD3FromFile(next);
    EXPECT_EQ(ModelCaption(), "next.md3");
    TMD3 saved;
    ASSERT_TRUE(saved.LoadFromFile(dir_.File("saved.md3")));
    EXPECT_EQ(saved.header.surfaces[0].vertices[0].x, editedX);

    // An unchanged model goes without a question; Clear and closing ask, Discard gives up.
    const qsizetype asked = saveQuestions_.size();
    Load(next.toStdString());
    EXPECT_EQ(saveQuestions_.size(), asked);
    Run("actionModelMD3FlipX");
    saveAnswer_ = QMessageBox::Discard;
    Run("actionModelClear");
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    Load(next.toStdString());
    Run("actionModelMD3FlipX");
    saveAnswer_ = QMessageBox::Cancel;
    EXPECT_FALSE(window_->close());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(saveQuestions_.size(), asked + 2);
    EXPECT_EQ(saveQuestions_.last(), "Save changes to next.md3?");
}

TEST_F(LoadKeepsWork, GeneralLoaderReadsTheTypeChosenInTheFileDialog) {
    ShowAndWait();
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim);
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("square.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("square.mdx")));
    window_->HandleDroppedFiles({File("square.mdm"), File("square.mdx")});
    ASSERT_EQ(window_->StatusText(), "MDM/MDX loaded");

    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    UseDesktopDialogs(*window_);
    // Only the bones: the whole animation read instead would say "MDX loaded".
    AnswerFileDialog("ET Player Animation Bones (.MDX) (*.MDX *.mdx)", File("square.mdx"));
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->StatusText(), "MDX bones loaded");
}

// A compressed model is chosen by its own entry and saved by choosing it again: a name typed
// without a suffix gets the chosen format's, and an unchanged MDC comes back byte for byte.
TEST_F(LoadKeepsWork, CompressedModelsAreLoadedAndSavedThroughTheirOwnFileType) {
    VELDRA_REQUIRE_SAMPLES("mdc");
    ShowAndWait();
    const QString sample =
        QString::fromStdString((testing_support::SampleDir("mdc") / "grenade1.mdc").string());
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    UseDesktopDialogs(*window_);
    const QString type = "Compressed Quake 3 model (.MDC) (*.MDC *.mdc)";
    AnswerFileDialog(type, sample);
    Run("actionFileLoadAnyFromFile");
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    ASSERT_TRUE(window_->MD3().ReadFromMDC());
    AnswerFileDialog(type, File("saved"));
    Run("actionFileSaveAs");
    EXPECT_EQ(testing_support::ReadBytes(dir_.File("saved.mdc")),
              testing_support::ReadBytes(sample.toStdString()));
}

// The entries that add to the loaded model: a skin, tags, a shader script.
TEST_F(LoadKeepsWork, GeneralLoaderAddsSkinsTagsAndShaderScripts) {
    ShowAndWait();
    LoadModel({.frames = 1, .tags = 1});
    std::ofstream(dir_.File("model.skin")) << "surface_0,textures/a.tga\n";
    std::ofstream(dir_.File("extra.shader")) << "textures/a\n{\n}\n";
    TMD3 tagged;
    MakeModel(tagged, {.frames = 1, .tags = 2});
    ASSERT_TRUE(tagged.SaveTagsToFile(dir_.File("two.tag")));
    struct Case {
        const char* entry;
        const char* file;
        const char* status;
    };
    const Case cases[] = {
        {"Model Skin  (*.skin) (*.skin *.SKIN)", "model.skin", "Skin loaded"},
        {"Model Tags  (*.tag) (*.tag *.TAG)", "two.tag", "New tag(s) added from file: two.tag"},
        {"Shader-file  (.shader) (*.shader *.SHADER)", "extra.shader",
         "Shader-file added to the shader list: extra.shader"},
    };
    Run("actionFileLoadAnyFromFile");  // cancelled: learns the offered entries
    for (const Case& c : cases) {
        answerFilterIndex_ = static_cast<int>(offeredFilters_.indexOf(c.entry));
        ASSERT_GT(answerFilterIndex_, 0) << c.entry;
        answerOpen_ = File(c.file);
        Run("actionFileLoadAnyFromFile");
        EXPECT_EQ(window_->StatusText(), c.status);
    }
    EXPECT_EQ(window_->MD3().header.numTags, 3);
    EXPECT_EQ(ModelCaption(), "model.md3*");
}

}  // namespace
