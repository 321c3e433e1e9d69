#include "io/path_case.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Names in `folder` that match `name`: the exact one first, then the others by name.
std::vector<std::string> Candidates(const fs::path& folder, const std::string& name) {
    std::vector<std::string> found;
    std::error_code ec;
    const fs::path listed = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(listed, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (entry != name && EqualIgnoringCase(entry, name)) found.push_back(std::move(entry));
    }
    std::sort(found.begin(), found.end());
    if (fs::exists(folder / name, ec)) found.insert(found.begin(), name);
    return found;
}

std::optional<fs::path> Find(const fs::path& prefix, const std::vector<std::string>& parts,
                             std::size_t index) {
    std::error_code ec;
    if (index == parts.size()) {
        if (fs::is_regular_file(prefix, ec)) return prefix;
        return std::nullopt;
    }
    const std::string& part = parts[index];
    if (part == "." || part == "..") return Find(prefix / part, parts, index + 1);
    for (const std::string& name : Candidates(prefix, part)) {
        if (auto found = Find(prefix / name, parts, index + 1)) return found;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindFileIgnoringCase(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return std::nullopt;
    if (fs::is_regular_file(path, ec)) return path;
    const fs::path whole(path);
    std::vector<std::string> parts;
    for (const fs::path& part : whole.relative_path())
        parts.push_back(part.string());
    // A trailing separator names a folder, never a file.
    if (!parts.empty() && parts.back().empty()) return std::nullopt;
    std::erase(parts, std::string());
    if (auto found = Find(whole.root_path(), parts, 0)) return found->string();
    return std::nullopt;
}
