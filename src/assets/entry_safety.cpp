#include "assets/entry_safety.h"

#include "assets/archive_names.h"

TSafeEntryPath SafeEntryPath(std::string_view entryName) {
    const std::string name = NormalizedEntryName(entryName);
    if (name.empty()) return {"", "it has no name"};
    if (name.front() == '/') return {"", "its name is an absolute path"};
    const bool driveLetter =
        name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    if (driveLetter) return {"", "its name starts with a drive letter"};

    std::string path;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '/') continue;
        const std::string_view part = std::string_view(name).substr(start, i - start);
        start = i + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {"", "its name leads out of the target folder (\"..\")"};
        if (!path.empty()) path += '/';
        path += part;
    }
    if (path.empty() || name.back() == '/') return {"", "it names no file"};
    return {path, ""};
}

std::string EntrySizeProblem(std::uint64_t size, std::uint64_t compressedSize, bool stored) {
    if (size > kMaxEntryBytes) {
        return "its size of " + std::to_string(size) + " bytes is above the limit of " +
               std::to_string(kMaxEntryBytes) + " bytes";
    }
    if (stored && size != compressedSize) return "its stored size does not match its size";
    if (size >= kRatioCheckFromBytes &&
        (compressedSize == 0 || size / compressedSize > kMaxCompressionRatio)) {
        return "its compression ratio of " +
               (compressedSize == 0 ? std::string("infinity")
                                    : std::to_string(size / compressedSize)) +
               ":1 cannot be genuine";
    }
    return "";
}
