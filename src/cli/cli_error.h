// Failures of a CLI command: the text names the file and the reason.
#pragma once

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

// What scripts see: 0 success, 1 a file could not be read, edited or written, 2 the command
// line itself is wrong.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

class CliError : public std::runtime_error {
  public:
    explicit CliError(const std::string& message) : std::runtime_error(message) {}
};

// A command line that asks for something no file can make right: an unknown or malformed
// value, an unsupported output format, a side file that would overwrite an input.
class UsageError : public CliError {
  public:
    explicit UsageError(const std::string& message) : CliError(message) {}
};

// "Cannot write "OUT": unsupported output format ".x" (<hint>)", for an OUT whose extension
// the command does not write; `hint` names what it does ("supported: .md3").
UsageError UnsupportedOutput(const std::string& output, const std::string& hint);

// Runs a command; any error becomes one line "veldra-cli: <text>" on `err` and exit code 2
// for a UsageError, 1 for everything else.
int RunGuarded(std::ostream& err, const std::function<int()>& command);

// The one line an error is reported with.
void ReportError(std::ostream& err, const std::string& text);
