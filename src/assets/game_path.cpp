#include "assets/game_path.h"

#include "io/path_case.h"

std::string WithTrailingSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

bool IsValidGamePath(const std::string& folder) {
    if (folder.empty()) return false;
    // Finding the archive (a regular file) inside it also proves the etmain folder.
    return FindFileIgnoringCase(WithTrailingSeparator(folder) + "etmain/pak0.pk3").has_value();
}

std::string GamePathFromChosenFolder(const std::string& chosen) {
    std::string path = chosen;
    const auto at = path.find("etmain");
    if (at != std::string::npos) path.erase(at);
    return WithTrailingSeparator(path);
}
