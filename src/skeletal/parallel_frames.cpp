#include "skeletal/parallel_frames.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Far beyond the cores of a desktop; each worker holds a poser of about half a megabyte.
constexpr unsigned kMaxWorkers = 32;

}  // namespace

unsigned FrameWorkers() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
}

bool ForEachFrameInParallel(std::uint32_t count, unsigned workers, TProgress* progress,
                            const std::function<void(unsigned worker, std::uint32_t frame)>& job) {
    std::atomic<std::uint32_t> next{0};
    std::atomic<std::uint32_t> done{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto work = [&](unsigned worker, bool reports) {
        try {
            while (!stop.load(std::memory_order_relaxed)) {
                const std::uint32_t frame = next.fetch_add(1);
                if (frame >= count) break;
                if (reports && !ReportProgress(progress, done.load(), count)) return false;
                job(worker, frame);
                done.fetch_add(1);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure) failure = std::current_exception();
            stop = true;
        }
        return true;
    };

    // Reported before any thread starts: however the frames fall to the threads, the
    // calling thread reports the start and the end, and a cancel at either is honoured.
    if (!ReportProgress(progress, 0, count)) return false;
    std::vector<std::thread> threads;
    const unsigned wanted = std::clamp(std::min<std::uint32_t>(workers, count), 1u, kMaxWorkers);
    for (unsigned w = 1; w < wanted; ++w) {
        try {
            threads.emplace_back([&work, w] { work(w, false); });
        } catch (const std::system_error&) {
            break;  // fewer threads: the work is the same, only slower
        }
    }
    const bool finished = work(0, true);
    if (!finished) stop = true;
    for (std::thread& t : threads)
        t.join();
    if (failure) std::rethrow_exception(failure);
    if (!finished) return false;
    return ReportProgress(progress, count, count);
}
