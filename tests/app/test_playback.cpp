#include <gtest/gtest.h>

#include <vector>

#include "app/number_text.h"
#include "app/playback.h"

namespace {

std::vector<int> Play(int current, int start, int end, bool loop, int ticks) {
    std::vector<int> frames;
    for (int i = 0; i < ticks; ++i)
        frames.push_back(current = NextFrame(current, start, end, loop));
    return frames;
}

}  // namespace

TEST(Playback, RunsThroughTheRangeAndLoopsOrStops) {
    EXPECT_EQ(Play(2, 2, 5, true, 5), (std::vector<int>{3, 4, 5, 2, 3}));
    EXPECT_EQ(Play(2, 2, 5, false, 5), (std::vector<int>{3, 4, 5, 5, 5}));
    // A current frame past the end (the end was moved below it) goes to the start at once.
    EXPECT_EQ(Play(7, 2, 5, true, 2), (std::vector<int>{2, 3}));
    // A start after the end jumps back to the start on every tick.
    EXPECT_EQ(Play(6, 6, 3, true, 3), (std::vector<int>{6, 6, 6}));
    EXPECT_EQ(Play(1, 6, 3, true, 3), (std::vector<int>{2, 3, 6}));
}

TEST(Playback, TimerIntervalRoundsHalfToEven) {
    EXPECT_EQ(TimerIntervalForFps(20), 50);
    EXPECT_EQ(TimerIntervalForFps(16), 62);  // 62.5
    EXPECT_EQ(TimerIntervalForFps(80), 12);  // 12.5
    EXPECT_EQ(TimerIntervalForFps(3), 333);
    EXPECT_EQ(TimerIntervalForFps(15), 67);
    EXPECT_EQ(TimerIntervalForFps(125), 8);
    EXPECT_EQ(TimerIntervalForFps(1), 1000);
    // Rates outside the up-down's range, as an animation list may carry them.
    EXPECT_EQ(TimerIntervalForFps(0), 1000);
    EXPECT_EQ(TimerIntervalForFps(1000), 8);
}

TEST(Playback, SliderMaximumAndTypedFrames) {
    EXPECT_EQ(SliderMaximum(0), 0);
    EXPECT_EQ(SliderMaximum(1), 0);
    EXPECT_EQ(SliderMaximum(10), 9);

    EXPECT_EQ(ParseFrameNumber("7", 0, 9), 7);
    EXPECT_EQ(ParseFrameNumber(" 9 ", 0, 9), 9);
    EXPECT_EQ(ParseFrameNumber("0", 0, 9), 0);
    for (const char* rejected : {"12", "10", "-1", "", "  ", "7a", "3.5", "x", "99999999999"})
        EXPECT_EQ(ParseFrameNumber(rejected, 0, 9), std::nullopt) << rejected;
}

TEST(NumberText, FloatsShowTheirShortestDigitsWithAPoint) {
    EXPECT_EQ(FloatText(0.1f), "0.1");
    EXPECT_EQ(FloatText(-2.5f), "-2.5");
    EXPECT_EQ(FloatText(0.0f), "0");
    EXPECT_EQ(FloatText(-0.0f), "0");  // an inverted zero axis component
    EXPECT_EQ(Vector3Text({-0.0f, 1.0f, -0.0f}), "0  1  0");
    EXPECT_EQ(FloatText(1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(FloatText(100000000.0f), "100000000");
    EXPECT_EQ(FloatText(1e15f), "1e+15");
    EXPECT_EQ(FloatText(0.0001f), "0.0001");
    EXPECT_EQ(FloatText(0.00001f), "1e-05");
    EXPECT_EQ(Vector3Text({1.0f, -0.5f, 64.25f}), "1  -0.5  64.25");
}

TEST(NumberText, FlagsAreEightUpperCaseHexDigits) {
    EXPECT_EQ(FlagsText(255), "000000FFh");
    EXPECT_EQ(FlagsText(0), "00000000h");
    EXPECT_EQ(FlagsText(0x7ABCDEF0), "7ABCDEF0h");
    EXPECT_EQ(FlagsText(-1), "FFFFFFFFh");
}
