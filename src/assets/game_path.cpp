#include "assets/game_path.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "assets/archive_names.h"
#include "io/file_names.h"
#include "io/path_case.h"

namespace fs = std::filesystem;

std::string WithTrailingSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

bool IsValidGamePath(const std::string& folder) {
    if (folder.empty()) return false;
    // Finding the archive (a regular file) inside it also proves the etmain folder.
    if (GamePakPath(folder).has_value()) return true;
    const std::optional<std::string> etmain = GameEtmainFolder(folder);
    return etmain && FindFolderIgnoringCase(*etmain, "scripts").has_value();
}

std::string GamePathFromChosenFolder(const std::string& chosen) {
    const std::string_view path = chosen;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = path.size();
        if (EqualIgnoringCase(path.substr(start, end - start), "etmain"))
            return WithTrailingSeparator(chosen.substr(0, start));
        start = end + 1;
    }
    return WithTrailingSeparator(chosen);
}

std::optional<std::string> FindFolderIgnoringCase(const std::string& folder,
                                                  const std::string& name) {
    const std::string base = WithTrailingSeparator(folder);
    std::error_code ec;
    if (fs::is_directory(base + name, ec)) return base + name + "/";
    std::vector<std::string> matches;
    for (fs::directory_iterator it(base.empty() ? "." : base, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        std::error_code typeError;
        if (EqualIgnoringCase(entry, name) && it->is_directory(typeError)) matches.push_back(entry);
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return base + matches.front() + "/";
}

std::optional<std::string> GameEtmainFolder(const std::string& gamePath) {
    if (gamePath.empty()) return std::nullopt;
    return FindFolderIgnoringCase(gamePath, "etmain");
}

std::optional<std::string> GamePakPath(const std::string& gamePath) {
    if (gamePath.empty()) return std::nullopt;
    return FindFileIgnoringCase(WithTrailingSeparator(gamePath) + "etmain/pak0.pk3");
}

std::vector<std::string> ListGamePaks(const std::string& gamePath) {
    std::vector<std::string> paks;
    const std::optional<std::string> etmain = GameEtmainFolder(gamePath);
    if (!etmain) return paks;
    std::error_code ec;
    for (fs::directory_iterator it(*etmain, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (UpperCaseExtension(name) == ".PK3" && it->is_regular_file(typeError))
            paks.push_back(*etmain + name);
    }
    std::sort(paks.begin(), paks.end(), [](const std::string& a, const std::string& b) {
        const std::string la = LowerCaseAscii(a), lb = LowerCaseAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return paks;
}
