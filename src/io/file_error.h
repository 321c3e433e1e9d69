// Errors for files that cannot be opened or created at all. Everything else about a bad
// file is a failed load with a reason, not an exception.
#pragma once

#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
  public:
    explicit FileError(const std::string& message) : std::runtime_error(message) {}

    // "Cannot open file \"<name>\". <reason>"
    static FileError CannotOpen(const std::string& fileName, int errorNumber);
    // "Cannot open file \"<name>\". Not a regular file." for pipes, devices and sockets.
    static FileError NotARegularFile(const std::string& fileName);
    // "Cannot create file \"<name>\". <reason>"
    static FileError CannotCreate(const std::string& fileName, int errorNumber);
    // "Cannot create file \"<name>\". Not a regular file." for a pipe, device or socket that
    // an output would otherwise replace.
    static FileError NotARegularTarget(const std::string& fileName);
};

// The system's text for an errno value, as shown to users.
std::string SystemErrorText(int errorNumber);
