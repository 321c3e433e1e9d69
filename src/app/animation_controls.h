// The "Animation" group under the view: the start, end and current frame sliders, play and
// loop, the frame rate, and the animation names of a skeletal model. It keeps the current
// frame; the main window owns the timers and calls Tick on every tick of its animation timer.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "app/playback.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;
class TFrameSlider;
class TUpDown;

class TAnimationControls : public QObject {
    Q_OBJECT
  public:
    explicit TAnimationControls(QWidget* parent);

    QGroupBox* Group() const { return group_; }

    // After every load, clear and frame edit: sliders for frameCount frames, the whole range
    // selected, frame 0 current; the group is enabled only for more than one frame.
    void ResetAnimationControls(int frameCount);

    int CurrentFrame() const { return currentFrame_; }
    // Makes `frame` current when the sliders reach it; otherwise the current frame stays.
    void ShowCurrentFrame(int frame);
    int StartFrame() const;
    int EndFrame() const;
    bool Playing() const;
    int TimerIntervalMs() const { return timerIntervalMs_; }

    // One tick of the animation timer: advances the current frame while "Play" is ticked and
    // the view is shown.
    void Tick(bool viewShown);

    // The animation names offered in cbAnimName (empty to clear it); none is selected.
    void SetAnimations(std::vector<TAnimationRange> animations);
    // Choosing an animation name applies only to the model kind that has named animations.
    void SetModelKind(int modelKind) { modelKind_ = modelKind; }

    // Called before a chosen name applies: makes the animation file that holds it
    // (TAnimationRange::file) the one posed. False leaves the frames and the range as they
    // were. Unset, every name applies to the frames loaded.
    std::function<bool(std::size_t file)> useAnimationFile;

    // Asks for one line of text (caption, prompt); nothing when cancelled. Tests replace it.
    std::function<std::optional<QString>(const QString& caption, const QString& prompt)> askText;
    // Says why a typed frame was not taken.
    std::function<void(const QString& text)> refuse;

  signals:
    void currentFrameChanged(int frame);
    void timerIntervalChanged(int ms);
    void playToggled();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnStartMoved(int position);
    void OnEndMoved(int position);
    void OnCurrentMoved(int position);
    void OnFpsChanged(int fps);
    void OnAnimationChosen(int index);
    void AskForFrame(QSlider* slider, const QString& prompt);
    void SetCurrentFrame(int frame);
    void UpdateSelection();

    QGroupBox* group_;
    QSlider* tbStartFrame_;
    QLabel* lStartFrame_;
    QSlider* tbEndFrame_;
    QLabel* lEndFrame_;
    TFrameSlider* tbCurrentFrame_;
    QLabel* lCurrentFrame_;
    QCheckBox* cbPlay_;
    QCheckBox* cbLoop_;
    QLineEdit* eFPS_;
    TUpDown* udFPS_;
    QComboBox* cbAnimName_;

    std::vector<TAnimationRange> animations_;
    int currentFrame_ = 0;
    int timerIntervalMs_ = TimerIntervalForFps(kDefaultFps);
    int modelKind_ = 0;
    // Set while an animation name moves the range, so the name stays selected.
    bool choosingAnimation_ = false;
};
