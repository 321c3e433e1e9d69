#include "render/frame_counter.h"

bool TFrameCounter::LatchIfDue(std::int64_t nowMs) {
    if (!started_) {
        // The first call only starts the clock: frames before it belong to no known period.
        started_ = true;
        periodStartMs_ = nowMs;
        return false;
    }
    if (nowMs - periodStartMs_ < kPeriodMs) return false;
    LatchFrameCount();
    periodStartMs_ = nowMs;
    return true;
}
