#include "render/shader_clock.h"

double TShaderClock::Seconds(Clock::time_point now) const {
    if (paused_) return before_;
    return before_ + std::chrono::duration<double>(now - start_).count();
}

void TShaderClock::SetPaused(bool paused, Clock::time_point now) {
    if (paused == paused_) return;
    if (paused) {
        before_ = Seconds(now);
    } else {
        start_ = now;
    }
    paused_ = paused;
}
