// Work on the frames of an animation spread over the processor's cores, with progress reported
// and cancelling checked on the calling thread only (a window's progress dialog lives there).
#pragma once

#include <cstdint>
#include <functional>

#include "io/progress.h"

// How many threads frame work uses: one per core, at least one.
unsigned FrameWorkers();

// Calls job(worker, frame) once for every frame 0 ... count - 1, on up to `workers` threads of
// which the calling thread is one; worker is 0 ... workers - 1 and no two calls with the same
// worker run at once, so each worker may own its buffers. Frames are handed out in order as
// threads become free. Progress is reported at the start, before each frame the calling thread
// takes, and once at the end. Returns false when progress cancelled, at any of these: the
// remaining frames are not started. An
// exception thrown by a job stops the others and is rethrown here after all threads ended.
bool ForEachFrameInParallel(std::uint32_t count, unsigned workers, TProgress* progress,
                            const std::function<void(unsigned worker, std::uint32_t frame)>& job);
