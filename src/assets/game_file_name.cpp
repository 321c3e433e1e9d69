#include "assets/game_file_name.h"

#include "assets/archive_names.h"

std::optional<std::string> GameFileName(std::string_view name) {
    std::string normalized = NormalizedEntryName(name);
    normalized.erase(0, normalized.find_first_not_of('/'));
    if (normalized.empty() || normalized.find("..") != std::string::npos ||
        normalized.find("::") != std::string::npos)
        return std::nullopt;
    return normalized;
}
