// The one clock animated shaders are drawn by: seconds since it started, standing still
// while paused and going on from there when resumed.
#pragma once

#include <chrono>

class TShaderClock {
  public:
    using Clock = std::chrono::steady_clock;

    explicit TShaderClock(Clock::time_point start = Clock::now()) : start_(start) {}

    double Seconds(Clock::time_point now) const;
    double Seconds() const { return Seconds(Clock::now()); }

    void SetPaused(bool paused, Clock::time_point now);
    void SetPaused(bool paused) { SetPaused(paused, Clock::now()); }
    bool Paused() const { return paused_; }

  private:
    Clock::time_point start_;
    double before_ = 0.0;  // seconds run up to the last pause
    bool paused_ = false;
};
