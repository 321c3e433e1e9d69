// The progress line of veldra-cli: on stderr, and only when stderr is a terminal, so that
// scripts and logs get nothing but the command's own messages.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "io/progress.h"

class TerminalProgress : public TProgress {
  public:
    // `label` starts the line ("Baking"). `stream` is for tests; the line is written only
    // when it is a terminal.
    explicit TerminalProgress(std::string label, std::FILE* stream = stderr);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool Report(std::uint64_t done, std::uint64_t total) override;
    // Erases the line, so that what the command prints next starts at the left margin.
    void Finish();

    // The reporter to hand to the work: nullptr when nothing is shown, so it costs nothing.
    TProgress* IfShown() { return shown_ ? this : nullptr; }

  private:
    std::string label_;
    std::FILE* stream_;
    bool shown_;
    bool written_ = false;
    std::chrono::steady_clock::time_point last_{};
};
