#include "image/texture_paths.h"

#include <algorithm>
#include <optional>

#include "io/file_names.h"
#include "io/path_case.h"

namespace {

// Tried in this order for a path without extension: TGA carries alpha, so it is preferred.
constexpr const char* kImplicitExtensions[] = {".TGA", ".BMP", ".JPG"};

bool Found(const std::string& candidate, std::string& path) {
    if (std::optional<std::string> found = FindFileIgnoringCase(candidate)) {
        path = *found;
        return true;
    }
    return false;
}

}  // namespace

void TexturePaths::AddSearchDir(const std::string& directory) {
    std::string dir = WithForwardSlashes(directory);
    // An empty entry stands for the working folder, not the root.
    if (!dir.empty() && dir.back() != '/') dir += '/';
    searchDirs_.push_back(std::move(dir));
}

void TexturePaths::AddProgramSearchDirs(const std::string& programDir) {
    std::string base = WithForwardSlashes(programDir);
    if (base.empty() || base.back() != '/') base += '/';
    AddSearchDir(base + "textures/BG/");
    AddSearchDir(base + "textures/");
    AddSearchDir(base);
    AddSearchDir(base + "tmp/");
}

bool TexturePaths::ResolvePath(std::string& path) const {
    path = WithForwardSlashes(path);
    if (path.empty()) return false;
    if (Found(path, path)) return true;
    if (!UpperCaseExtension(path).empty()) {
        for (const std::string& dir : searchDirs_) {
            if (Found(dir + path, path)) return true;
        }
        return false;
    }
    for (const char* extension : kImplicitExtensions) {
        for (const std::string& dir : searchDirs_) {
            if (Found(dir + path + extension, path)) return true;
        }
    }
    return false;
}
