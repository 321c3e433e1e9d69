#include "io/file_error.h"

#include <cstring>

std::string SystemErrorText(int errorNumber) {
    std::string text = std::strerror(errorNumber);
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

FileError FileError::CannotOpen(const std::string& fileName, int errorNumber) {
    return FileError("Cannot open file \"" + fileName + "\". " + SystemErrorText(errorNumber));
}

FileError FileError::NotARegularFile(const std::string& fileName) {
    return FileError("Cannot open file \"" + fileName + "\". Not a regular file.");
}

FileError FileError::CannotCreate(const std::string& fileName, int errorNumber) {
    return FileError("Cannot create file \"" + fileName + "\". " + SystemErrorText(errorNumber));
}

FileError FileError::NotARegularTarget(const std::string& fileName) {
    return FileError("Cannot create file \"" + fileName + "\". Not a regular file.");
}
