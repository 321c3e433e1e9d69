// Runs its function when the scope ends, also when an error escapes the command: every
// command ends no longer busy, with the view drawn and the cursor back.
#pragma once

#include <functional>
#include <utility>

class TCommandEnd {
  public:
    explicit TCommandEnd(std::function<void()> finish) : finish_(std::move(finish)) {}
    ~TCommandEnd() { finish_(); }
    TCommandEnd(const TCommandEnd&) = delete;
    TCommandEnd& operator=(const TCommandEnd&) = delete;

  private:
    std::function<void()> finish_;
};
