#include "io/large_pages.h"

#include <sys/mman.h>

#include <cstdint>

void PrepareFreshArray(void* data, std::int64_t bytes) {
    [[maybe_unused]] const auto start = reinterpret_cast<std::uintptr_t>(data);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{1} << 21;
    if (bytes >= static_cast<std::int64_t>(2 * kLargePage)) {
        const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
        const std::uintptr_t end = (start + static_cast<std::uintptr_t>(bytes)) & ~(kLargePage - 1);
        // Only advice: where the system has no large pages to give, the load goes on as before.
        if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
#endif
#ifdef MADV_POPULATE_WRITE
    // Smaller arrays come from the allocator's heap, whose pages are mostly there already.
    constexpr std::int64_t kWholePages = std::int64_t{1} << 18;
    constexpr std::uintptr_t kPage = 4096;
    if (bytes >= kWholePages) {
        const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
        const std::uintptr_t end = (start + static_cast<std::uintptr_t>(bytes)) & ~(kPage - 1);
        // Again only a request: a system without it faults the pages in as they are written.
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
    }
#endif
}
