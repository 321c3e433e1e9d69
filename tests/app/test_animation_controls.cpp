#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include "app/animation_controls.h"
#include "app/frame_slider.h"
#include "app/up_down.h"
#include "render/scene_settings.h"

namespace {

class AnimationControlsTest : public ::testing::Test {
  protected:
    AnimationControlsTest() : controls(&window) {
        controls.askText = [this](const QString& caption, const QString& prompt) {
            asked.push_back(caption + "|" + prompt);
            return answer;
        };
        controls.refuse = [this](const QString& text) { refused.push_back(text); };
    }

    template <typename T>
    T* Find(const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QSlider* Slider(const char* name) { return Find<QSlider>(name); }
    QString Label(const char* name) { return Find<QLabel>(name)->text(); }

    void DoubleClick(const char* label) {
        QLabel* target = Find<QLabel>(label);
        QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    std::vector<int> Ticks(int count) {
        std::vector<int> frames;
        for (int i = 0; i < count; ++i) {
            controls.Tick(true);
            frames.push_back(controls.CurrentFrame());
        }
        return frames;
    }

    QWidget window;
    TAnimationControls controls;
    std::optional<QString> answer;
    std::vector<QString> refused;
    std::vector<QString> asked;
};

TEST_F(AnimationControlsTest, StartsTickedAtTwentyFramesPerSecond) {
    EXPECT_EQ(controls.Group()->objectName(), "gbAnimationControls");
    EXPECT_EQ(controls.Group()->title(), "Animation");
    EXPECT_TRUE(Find<QCheckBox>("cbPlay")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cbLoop")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("eFPS")->text(), "20");
    EXPECT_TRUE(Find<QLineEdit>("eFPS")->isReadOnly());
    EXPECT_EQ(Find<QComboBox>("cbAnimName")->count(), 0);
    EXPECT_EQ(controls.TimerIntervalMs(), 50);
    EXPECT_FALSE(controls.Group()->isEnabled());
}

TEST_F(AnimationControlsTest, ResetSelectsTheWholeRangeAndDisablesOneFrameModels) {
    controls.ResetAnimationControls(10);
    EXPECT_TRUE(controls.Group()->isEnabled());
    for (const char* name : {"tbStartFrame", "tbEndFrame", "tbCurrentFrame"})
        EXPECT_EQ(Slider(name)->maximum(), 9) << name;
    EXPECT_EQ(controls.StartFrame(), 0);
    EXPECT_EQ(controls.EndFrame(), 9);
    EXPECT_EQ(Label("lEndFrame"), "9");
    auto* current = Find<TFrameSlider>("tbCurrentFrame");
    EXPECT_EQ(current->SelStart(), 0);
    EXPECT_EQ(current->SelEnd(), 9);

    controls.ResetAnimationControls(1);
    EXPECT_FALSE(controls.Group()->isEnabled());
    for (const char* name : {"tbStartFrame", "tbEndFrame", "tbCurrentFrame"})
        EXPECT_EQ(Slider(name)->maximum(), 0) << name;
    EXPECT_EQ(Label("lEndFrame"), "0");
    EXPECT_EQ(controls.CurrentFrame(), 0);
}

TEST_F(AnimationControlsTest, PlaysTheRangeWithAndWithoutLoop) {
    controls.ResetAnimationControls(10);
    Slider("tbStartFrame")->setValue(2);
    Slider("tbEndFrame")->setValue(5);
    EXPECT_EQ(Find<TFrameSlider>("tbCurrentFrame")->SelStart(), 2);
    EXPECT_EQ(Find<TFrameSlider>("tbCurrentFrame")->SelEnd(), 5);
    answer = "2";
    DoubleClick("lCurrentFrame");
    std::vector<int> changed;
    QObject::connect(&controls, &TAnimationControls::currentFrameChanged,
                     [&](int frame) { changed.push_back(frame); });
    EXPECT_EQ(Ticks(6), (std::vector<int>{3, 4, 5, 2, 3, 4}));
    EXPECT_EQ(changed, (std::vector<int>{3, 4, 5, 2, 3, 4}));
    EXPECT_EQ(Slider("tbCurrentFrame")->value(), 4);
    EXPECT_EQ(Label("lCurrentFrame"), "4");

    Find<QCheckBox>("cbLoop")->setChecked(false);
    EXPECT_EQ(Ticks(3), (std::vector<int>{5, 5, 5}));

    // Another tab showing, or "Play" unticked: the frame stays.
    Find<QCheckBox>("cbLoop")->setChecked(true);
    controls.Tick(false);
    EXPECT_EQ(controls.CurrentFrame(), 5);
    Find<QCheckBox>("cbPlay")->setChecked(false);
    controls.Tick(true);
    EXPECT_EQ(controls.CurrentFrame(), 5);
}

TEST_F(AnimationControlsTest, EndMovedBelowTheCurrentFrameJumpsToTheStart) {
    controls.ResetAnimationControls(10);
    Slider("tbStartFrame")->setValue(1);
    Ticks(6);
    ASSERT_EQ(controls.CurrentFrame(), 6);
    Slider("tbEndFrame")->setValue(4);
    EXPECT_EQ(Ticks(2), (std::vector<int>{1, 2}));
}

TEST_F(AnimationControlsTest, CurrentSliderFollowsTheUserOnlyWhenNotPlaying) {
    controls.ResetAnimationControls(10);
    Ticks(3);
    int changed = 0;
    QObject::connect(&controls, &TAnimationControls::currentFrameChanged, [&] { ++changed; });
    Slider("tbCurrentFrame")->setValue(8);
    EXPECT_EQ(controls.CurrentFrame(), 3);
    EXPECT_EQ(changed, 0);
    controls.Tick(true);
    EXPECT_EQ(controls.CurrentFrame(), 4);
    EXPECT_EQ(Slider("tbCurrentFrame")->value(), 4);

    Find<QCheckBox>("cbPlay")->setChecked(false);
    Slider("tbCurrentFrame")->setValue(8);
    EXPECT_EQ(controls.CurrentFrame(), 8);
    EXPECT_EQ(Label("lCurrentFrame"), "8");
    EXPECT_EQ(changed, 2);  // the tick's frame and the user's
}

TEST_F(AnimationControlsTest, FrameDialogsTakeOnlyFramesOfTheModel) {
    controls.ResetAnimationControls(10);
    answer = "12";
    DoubleClick("lCurrentFrame");
    EXPECT_EQ(controls.CurrentFrame(), 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Enter the Frame #|Current Frame");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0], "\"12\" is not a frame: type a whole number from 0 to 9");

    answer = "7";
    DoubleClick("lCurrentFrame");
    EXPECT_EQ(controls.CurrentFrame(), 7);
    EXPECT_EQ(Slider("tbCurrentFrame")->value(), 7);
    EXPECT_EQ(Label("lCurrentFrame"), "7");

    answer = "3";
    DoubleClick("lStartFrame");
    DoubleClick("lEndFrame");
    EXPECT_EQ(asked[2], "Enter the Frame #|Start Frame");
    EXPECT_EQ(asked[3], "Enter the Frame #|End Frame");
    EXPECT_EQ(controls.StartFrame(), 3);
    EXPECT_EQ(controls.EndFrame(), 3);
    EXPECT_EQ(Label("lStartFrame"), "3");
    EXPECT_EQ(controls.CurrentFrame(), 7);

    answer = std::nullopt;  // cancelled
    DoubleClick("lEndFrame");
    EXPECT_EQ(controls.EndFrame(), 3);
}

TEST_F(AnimationControlsTest, UpDownSetsTheRateAndTheTimerInterval) {
    std::vector<int> interval;
    QObject::connect(&controls, &TAnimationControls::timerIntervalChanged,
                     [&](int ms) { interval.push_back(ms); });
    auto* upDown = Find<TUpDown>("udFPS");
    upDown->SetValue(16);
    EXPECT_EQ(Find<QLineEdit>("eFPS")->text(), "16");
    EXPECT_EQ(controls.TimerIntervalMs(), 62);
    EXPECT_EQ(interval, std::vector<int>{62});

    upDown->SetValue(500);
    EXPECT_EQ(Find<QLineEdit>("eFPS")->text(), "125");
    EXPECT_EQ(controls.TimerIntervalMs(), 8);
    upDown->SetValue(1);
    upDown->StepDown();
    EXPECT_EQ(upDown->Value(), 1);
    EXPECT_EQ(controls.TimerIntervalMs(), 1000);
}

TEST_F(AnimationControlsTest, ChoosingAnAnimationSetsRangeRateAndFrame) {
    controls.ResetAnimationControls(200);
    controls.SetAnimations({{"idle", 0, 10, 20}, {"run", 100, 20, 15}, {"broken", 190, 40, 0}});
    auto* names = Find<QComboBox>("cbAnimName");
    EXPECT_EQ(names->count(), 3);
    EXPECT_EQ(names->currentIndex(), -1);

    // Only skeletal models of the MDM kind choose by name.
    controls.SetModelKind(kModelKindMD3);
    names->setCurrentIndex(1);
    emit names->activated(1);
    EXPECT_EQ(controls.StartFrame(), 0);

    controls.SetModelKind(kModelKindMDMMDX);
    emit names->activated(1);
    EXPECT_EQ(controls.StartFrame(), 100);
    EXPECT_EQ(controls.EndFrame(), 119);
    EXPECT_EQ(controls.CurrentFrame(), 100);
    EXPECT_EQ(Slider("tbCurrentFrame")->value(), 100);
    EXPECT_EQ(Label("lEndFrame"), "119");
    EXPECT_EQ(controls.TimerIntervalMs(), 67);
    EXPECT_EQ(names->currentIndex(), 1);

    // Moving the range by hand means no named animation any more.
    Slider("tbEndFrame")->setValue(110);
    EXPECT_EQ(names->currentIndex(), -1);

    // A range past the last frame and a zero rate stay within the controls' limits.
    names->setCurrentIndex(2);
    emit names->activated(2);
    EXPECT_EQ(controls.EndFrame(), 199);
    EXPECT_EQ(Find<QLineEdit>("eFPS")->text(), "1");
    EXPECT_EQ(controls.TimerIntervalMs(), 1000);
}

}  // namespace
