// The arithmetic of animation playback, kept apart from the widgets that show it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// One named animation of a skeletal model's animation list.
struct TAnimationRange {
    std::string name;
    int firstFrame = 0;
    int numFrames = 0;
    int fps = 20;
    std::size_t file = 0;  // which animation file of a character's group holds the frames
};

inline constexpr int kMinFps = 1;
inline constexpr int kMaxFps = 125;
inline constexpr int kDefaultFps = 20;

// The frame shown after one tick of playback. The range is not kept in order: a current
// frame at or past the end (also when the start lies after the end) goes back to the start
// with loop and stays without.
int NextFrame(int current, int start, int end, bool loop);

// 1000 / fps milliseconds rounded to the nearest integer, ties to even; fps is clamped to
// the range the up-down allows, so a zero rate from a file cannot divide by zero.
int TimerIntervalForFps(int fps);

// The highest position of the frame sliders for a model with frameCount frames.
int SliderMaximum(int frameCount);

// A frame number typed by the user: an integer (surrounding blanks allowed) between minimum
// and maximum inclusive; anything else is nothing.
std::optional<int> ParseFrameNumber(std::string_view text, int minimum, int maximum);
