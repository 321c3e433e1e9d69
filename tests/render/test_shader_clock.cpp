#include <gtest/gtest.h>

#include "render/shader_clock.h"

TEST(ShaderClock, RunsStandsStillWhilePausedAndGoesOnFromThere) {
    using namespace std::chrono_literals;
    const TShaderClock::Clock::time_point start{};
    TShaderClock clock(start);
    EXPECT_DOUBLE_EQ(clock.Seconds(start + 1500ms), 1.5);
    clock.SetPaused(true, start + 2s);
    EXPECT_DOUBLE_EQ(clock.Seconds(start + 10s), 2.0);
    clock.SetPaused(true, start + 11s);  // pausing again keeps the time held first
    clock.SetPaused(false, start + 12s);
    EXPECT_DOUBLE_EQ(clock.Seconds(start + 13s), 3.0);
}
