#include <QtTest/QTest>

#include "edit_commands_fixture.h"

namespace {

using UndoCommands = EditCommandsTest;

TEST_F(UndoCommands, MirrorAndRenameAreUndoneAndRedoneWithTheSavedMark) {
    LoadModel({.surfaces = 2, .vertsPerSurface = 16, .frames = 2, .tags = 1});
    const QString caption = ModelCaption();
    const TMD3Vertex original = Vertex(0, 0);
    QAction* undo = Action("actionEditUndo");
    QAction* redo = Action("actionEditRedo");
    EXPECT_EQ(undo->text(), "Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    Run("actionModelMD3FlipX");
    ASSERT_EQ(Vertex(0, 0).x, -original.x);
    QComboBox* names = Child<QComboBox>("cbNamesSurfaces");
    names->setCurrentIndex(1);
    emit names->activated(1);
    QTest::keyClick(names, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(names, "renamed");
    QTest::keyClick(names, Qt::Key_Return);
    ASSERT_EQ(NameFieldText(window_->MD3().header.surfaces[1].name), "renamed");
    EXPECT_EQ(undo->text(), "Undo Rename Surface");
    EXPECT_EQ(ModelCaption(), caption + "*");

    undo->trigger();
    EXPECT_EQ(NameFieldText(window_->MD3().header.surfaces[1].name), "surface1");
    EXPECT_EQ(ListText("cbNamesSurfaces", 1), "surface1") << "the panels show the undone name";
    EXPECT_EQ(undo->text(), "Undo Mirror X");
    EXPECT_EQ(redo->text(), "Redo Rename Surface");
    undo->trigger();
    EXPECT_EQ(Vertex(0, 0).x, original.x);
    EXPECT_EQ(undo->text(), "Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(ModelCaption(), caption) << "back at the loaded state";

    redo->trigger();
    EXPECT_EQ(Vertex(0, 0).x, -original.x);
    EXPECT_EQ(ModelCaption(), caption + "*");
    EXPECT_EQ(redo->text(), "Redo Rename Surface");

    // A saved state is the unmarked one; undoing past it marks the model again.
    answerSave_ = QString::fromStdString(dir_.File("saved.md3"));
    Run("actionFileSaveAs");
    EXPECT_EQ(ModelCaption(), "saved.md3");
    redo->trigger();
    EXPECT_EQ(ModelCaption(), "saved.md3*");
    undo->trigger();
    EXPECT_EQ(ModelCaption(), "saved.md3");

    // A new command drops what could be redone; a command that changes nothing records nothing.
    textAnswers_ = {std::nullopt};
    Run("actionModelMD3Scale");
    EXPECT_EQ(redo->text(), "Redo Rename Surface");
    Run("actionModelMD3FlipY");
    EXPECT_EQ(undo->text(), "Undo Mirror Y");
    EXPECT_FALSE(redo->isEnabled());

    // A surface that comes back is listed and drawn with the rest.
    ShowAndWait();
    names->setCurrentIndex(0);
    emit names->activated(0);
    Run("actionModelMD3RemoveSurface");
    ASSERT_EQ(window_->MD3().header.numSurfaces, 1);
    undo->trigger();
    EXPECT_EQ(window_->MD3().header.numSurfaces, 2);
    EXPECT_EQ(names->count(), 2);
    window_->RedrawView();

    Run("actionModelClear");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo");
}

}  // namespace
