// Failures of a CLI command: the text names the file and the reason.
#pragma once

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

class CliError : public std::runtime_error {
  public:
    explicit CliError(const std::string& message) : std::runtime_error(message) {}
};

// Runs a command; any error becomes one line "veldra-cli: <text>" on `err` and exit code 1.
int RunGuarded(std::ostream& err, const std::function<int()>& command);
