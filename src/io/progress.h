// Progress of long work (baking frames, LOD, scanning archives, converting maps) and the way
// to cancel it. The work calls ReportProgress once per step; a null reporter costs a pointer
// test, so callers that show nothing pass nullptr.
#pragma once

#include <cstdint>

class TProgress {
  public:
    virtual ~TProgress() = default;
    // `done` of `total` steps are finished. Returns false when the user cancelled: the work
    // then stops and leaves its inputs and outputs as they were.
    virtual bool Report(std::uint64_t done, std::uint64_t total) = 0;
};

inline bool ReportProgress(TProgress* progress, std::uint64_t done, std::uint64_t total) {
    return progress == nullptr || progress->Report(done, total);
}
