#include "io/large_pages.h"

#include <sys/mman.h>

void AdviseLargePages([[maybe_unused]] void* data, [[maybe_unused]] std::int64_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{1} << 21;
    if (bytes < static_cast<std::int64_t>(2 * kLargePage)) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (start + static_cast<std::uintptr_t>(bytes)) & ~(kLargePage - 1);
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}
