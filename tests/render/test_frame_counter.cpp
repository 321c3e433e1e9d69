#include <gtest/gtest.h>

#include "render/frame_counter.h"

TEST(FrameCounter, LatchReportsTheLastPeriodAndRestarts) {
    TFrameCounter counter;
    for (int i = 0; i < 20; ++i)
        counter.CountFrame();
    EXPECT_EQ(counter.FramesLastPeriod(), 0);
    counter.LatchFrameCount();
    EXPECT_EQ(counter.FramesLastPeriod(), 20);
    EXPECT_EQ(counter.FramesCounted(), 0);
    counter.CountFrame();
    counter.LatchFrameCount();
    EXPECT_EQ(counter.FramesLastPeriod(), 1);
}

TEST(FrameCounter, ClockDrivenLatchWaitsForAWholePeriod) {
    TFrameCounter counter;
    EXPECT_FALSE(counter.LatchIfDue(5000));  // starts the clock
    counter.CountFrame();
    counter.CountFrame();
    EXPECT_FALSE(counter.LatchIfDue(5999));
    EXPECT_EQ(counter.FramesLastPeriod(), 0);
    EXPECT_TRUE(counter.LatchIfDue(6000));
    EXPECT_EQ(counter.FramesLastPeriod(), 2);
    counter.CountFrame();
    EXPECT_FALSE(counter.LatchIfDue(6999));  // the period restarted at 6000
    EXPECT_TRUE(counter.LatchIfDue(7000));
    EXPECT_EQ(counter.FramesLastPeriod(), 1);
}
