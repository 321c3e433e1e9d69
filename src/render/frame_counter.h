// Counts drawn frames so that per-second speeds (texture scrolling and rotation) can be
// turned into per-frame steps.
#pragma once

#include <cstdint>

class TFrameCounter {
  public:
    static constexpr std::int64_t kPeriodMs = 1000;

    void CountFrame() { ++counted_; }

    // Ends a period: its count becomes the one reported and counting restarts.
    void LatchFrameCount() {
        lastPeriod_ = counted_;
        counted_ = 0;
    }

    // For callers driven by a monotonic clock (such as QElapsedTimer::elapsed) rather than
    // by a one-second timer: latches once a whole period has passed since the last latch.
    // Returns whether it latched.
    bool LatchIfDue(std::int64_t nowMs);

    std::int32_t FramesLastPeriod() const { return lastPeriod_; }
    std::int32_t FramesCounted() const { return counted_; }

  private:
    std::int32_t counted_ = 0;
    std::int32_t lastPeriod_ = 0;
    std::int64_t periodStartMs_ = 0;
    bool started_ = false;
};
