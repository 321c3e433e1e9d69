// Core operations report progress and results as one-line status texts; the GUI shows them
// in its status bar, the CLI and the tests collect them. An empty text clears the status.
#pragma once

#include <functional>
#include <string>

using StatusFn = std::function<void(const std::string& text)>;

inline void ShowStatus(const StatusFn& status, const std::string& text) {
    if (status) status(text);
}
