#include "io/file_names.h"

#include <algorithm>

std::string WithForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string UpperCaseExtension(const std::string& path) {
    const std::string normalized = WithForwardSlashes(path);
    const std::size_t dot = normalized.find_last_of('.');
    const std::size_t slash = normalized.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = normalized.substr(dot);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return extension;
}
