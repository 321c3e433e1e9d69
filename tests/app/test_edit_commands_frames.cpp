#include <QCheckBox>
#include <QLabel>
#include <QSlider>

#include "edit_commands_fixture.h"

namespace {

class FrameCommands : public EditCommandsTest {
  protected:
    // A one-frame file of the standard model whose first vertex has x = `marker`, so the
    // frame it gives can be recognised.
    QString MarkedFile(const std::string& name, std::int16_t marker) {
        TMD3 model;
        MakeModel(model, kOneFrameShape);
        model.header.surfaces[0].vertices[0].x = marker;
        return QString::fromStdString(Save(model, name));
    }
    std::int16_t MarkerOfFrame(int frame) {
        const TSurface& s = window_->MD3().header.surfaces[0];
        return s.vertices[static_cast<std::size_t>(frame * s.numVerts)].x;
    }
    int SliderMaximum() { return Child<QSlider>("tbCurrentFrame")->maximum(); }

    static constexpr ModelShape kOneFrameShape{
        .surfaces = 2, .vertsPerSurface = 16, .frames = 1, .tags = 2};
};

TEST_F(FrameCommands, AllFramesOfTheSameFileDoubleTheModel) {
    const std::string path =
        WriteModel("walk.md3", {.surfaces = 2, .vertsPerSurface = 16, .frames = 3, .tags = 2});
    Load(path);
    answerOpen_ = QString::fromStdString(path);
    Run("actionFileAddframes");
    EXPECT_EQ(openTitles_.back(), "Select a model to load");
    EXPECT_EQ(window_->StatusText(),
              "All frames (of " + answerOpen_ + ") were added to the current model");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numFrames, 6);
    EXPECT_EQ(NameFieldText(h.frames[3].name), "K merged");
    EXPECT_EQ(ModelCaption(), "walk.md3*");
    EXPECT_EQ(Child<QComboBox>("cbNamesFrames")->count(), 6);
    EXPECT_EQ(SliderMaximum(), 5) << "the frame controls reach the new frames";

    Run("actionFileAddframe");
    EXPECT_EQ(window_->StatusText(),
              "Frame[0] (of " + answerOpen_ + ") was added to the current model");
    EXPECT_EQ(h.numFrames, 7);
    EXPECT_EQ(ModelCaption(), "walk.md3*") << "one mark, however many changes";
}

TEST_F(FrameCommands, AnotherModelIsRefusedWithItsReason) {
    LoadModel(kOneFrameShape);
    answerOpen_ = QString::fromStdString(
        WriteModel("other.md3", {.surfaces = 2, .vertsPerSurface = 16, .frames = 1, .tags = 1}));
    Run("actionFileAddframe");
    EXPECT_EQ(window_->StatusText(), "Number of tags not equal: other.md3");
    EXPECT_EQ(window_->MD3().header.numFrames, 1);
    EXPECT_FALSE(ModelCaption().endsWith("*"));
    answerOpen_.clear();
    Run("actionFileAddframes");
    EXPECT_EQ(window_->StatusText(), "");
}

TEST_F(FrameCommands, SequenceAppendsInTextOrder) {
    LoadModel(kOneFrameShape);
    answerOpenFiles_ = {MarkedFile("a2.md3", 2), MarkedFile("A10.md3", 10), MarkedFile("a0.md3", 0),
                        MarkedFile("a1.md3", 1)};
    Run("actionFileAddframesequence");
    EXPECT_EQ(openTitles_.back(), "Select multiple models sequence");
    EXPECT_EQ(window_->StatusText(), "Frame[0] (of 4 files) were added to the current model");
    ASSERT_EQ(window_->MD3().header.numFrames, 5);
    EXPECT_EQ(MarkerOfFrame(1), 0);
    EXPECT_EQ(MarkerOfFrame(2), 1);
    EXPECT_EQ(MarkerOfFrame(3), 10) << "numbers sort as text, without regard to case";
    EXPECT_EQ(MarkerOfFrame(4), 2);
    EXPECT_TRUE(ModelCaption().endsWith("*"));
    EXPECT_EQ(SliderMaximum(), 4);
}

TEST_F(FrameCommands, FailedSequenceStillShowsTheFramesItAdded) {
    LoadModel(kOneFrameShape);
    const QString caption = ModelCaption();
    answerOpenFiles_ = {
        MarkedFile("b0.md3", 5),
        QString::fromStdString(
            WriteModel("b1.md3", {.surfaces = 2, .vertsPerSurface = 24, .frames = 1, .tags = 2})),
        MarkedFile("b2.md3", 6)};
    Run("actionFileAddframesequence");
    EXPECT_EQ(window_->StatusText(),
              "Number of vertexes not equal for surface[\"surface0\"]: b1.md3");
    ASSERT_EQ(window_->MD3().header.numFrames, 2);
    EXPECT_EQ(MarkerOfFrame(1), 5);
    EXPECT_EQ(Child<QComboBox>("cbNamesFrames")->count(), 2);
    EXPECT_EQ(SliderMaximum(), 1);
    EXPECT_EQ(ModelCaption(), caption + "*");

    // A sequence that fails at its first file changed nothing and marks nothing.
    answerOpenFiles_ = {answerOpenFiles_[1]};
    Run("actionFileAddframesequence");
    EXPECT_EQ(ModelCaption(), caption + "*");

    // A file that vanished after the choice reaches the error handler; the frame added
    // before it is still shown.
    answerOpenFiles_ = {MarkedFile("c0.md3", 7), QString::fromStdString(dir_.File("c1.md3"))};
    Run("actionFileAddframesequence");
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Cannot open file \""));
    EXPECT_EQ(window_->MD3().header.numFrames, 3);
    EXPECT_EQ(Child<QComboBox>("cbNamesFrames")->count(), 3);
    EXPECT_EQ(ModelCaption(), caption + "*");
}

TEST_F(FrameCommands, DeleteCurrentFrameAsksFirst) {
    LoadModel({.surfaces = 1, .vertsPerSurface = 16, .frames = 3, .tags = 1});
    Child<QCheckBox>("cbPlay")->setChecked(false);
    Child<QSlider>("tbCurrentFrame")->setValue(1);
    ASSERT_EQ(window_->CurrentFrame(), 1);
    const float originOfFrame2 = window_->MD3().header.tags[2].origin.y;

    answerQuestion_ = TAnswer::Cancel;
    Run("actionModelDeleteframe");
    EXPECT_EQ(asked_, QStringList{"Confirmation|Are You sure You want to remove the current "
                                  "frame?.. Frame[1] ?"});
    answerQuestion_ = TAnswer::No;
    Run("actionModelDeleteframe");
    EXPECT_EQ(window_->MD3().header.numFrames, 3);
    EXPECT_EQ(window_->StatusText(), "");

    answerQuestion_ = TAnswer::Yes;
    Run("actionModelDeleteframe");
    EXPECT_EQ(window_->StatusText(), "Frame[1] has been removed");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numFrames, 2);
    EXPECT_EQ(h.tags[1].origin.y, originOfFrame2) << "the old frame 2 moved down";
    EXPECT_TRUE(ModelCaption().endsWith("*"));
    EXPECT_EQ(window_->CurrentFrame(), 1) << "frame 1 still exists and stays current";
    EXPECT_EQ(Child<QLabel>("lCurrentFrame")->text(), "1");
    EXPECT_EQ(SliderMaximum(), 1);

    // Deleting the last frame puts the current frame back at the start.
    Run("actionModelDeleteframe");
    EXPECT_EQ(h.numFrames, 1);
    EXPECT_EQ(window_->CurrentFrame(), 0);
    // The only frame is never deleted, and nobody is asked.
    asked_.clear();
    Run("actionModelDeleteframe");
    EXPECT_TRUE(asked_.isEmpty());
    EXPECT_EQ(h.numFrames, 1);
}

}  // namespace
