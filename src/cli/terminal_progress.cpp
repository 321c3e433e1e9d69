#include "cli/terminal_progress.h"

#include <unistd.h>

namespace {

// A terminal redrawn more often than this only flickers.
constexpr std::chrono::milliseconds kRedrawInterval(100);

}  // namespace

TerminalProgress::TerminalProgress(std::string label, std::FILE* stream)
    : label_(std::move(label)), stream_(stream), shown_(::isatty(::fileno(stream)) == 1) {}

TerminalProgress::~TerminalProgress() {
    Finish();
}

void TerminalProgress::Finish() {
    if (written_) std::fprintf(stream_, "\r\033[K");
    written_ = false;
}

bool TerminalProgress::Report(std::uint64_t done, std::uint64_t total) {
    if (!shown_) return true;
    const auto now = std::chrono::steady_clock::now();
    if (done < total && written_ && now - last_ < kRedrawInterval) return true;
    last_ = now;
    written_ = true;
    const unsigned percent = total == 0 ? 100U : static_cast<unsigned>(done * 100 / total);
    std::fprintf(stream_, "\r%s: %llu/%llu (%u%%)\033[K", label_.c_str(),
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                 percent);
    std::fflush(stream_);
    return true;
}
