#include "assets/pak_list.h"

#include <filesystem>
#include <system_error>

#include "assets/pk3_archive.h"
#include "io/file_error.h"
#include "io/file_lock.h"
#include "io/path_case.h"

namespace fs = std::filesystem;

namespace {

bool HasAny(const TPK3Archive& archive, std::initializer_list<const char*> masks) {
    TArchiveFind find;
    for (const char* mask : masks) {
        if (archive.FindFirst(mask, find) != nullptr) return true;
    }
    return false;
}

}  // namespace

TPakContents ScanPakContents(const std::string& path) {
    // One listing serves all three scans.
    const TPK3Archive archive(path);
    TPakContents contents;
    contents.hasTextures = HasAny(archive, {"*.tga", "*.jpg", "*.bmp"});
    contents.hasShaders = HasAny(archive, {"*.shader"});
    contents.hasModels = HasAny(archive, {"*.md3", "*.mdc", "*.mdm", "*.mdx", "*.mds", "*.ase"});
    return contents;
}

TPakList::TPakList(std::string tmpDir) : tmpDir_(std::move(tmpDir)) {
    if (!tmpDir_.empty() && tmpDir_.back() != '/') tmpDir_ += '/';
}

std::string TPakList::NewExtractDir() const {
    // Numbered by the position the entry takes; after a deletion that number may still
    // belong to a later entry, and two archives must never share a folder.
    for (int number = Count();; ++number) {
        const std::string dir = tmpDir_ + "gp" + std::to_string(number) + "/";
        bool used = false;
        for (const TStrObject& pak : paks_)
            used = used || pak.extractDir == dir;
        if (!used) return dir;
    }
}

int TPakList::AddPak(const std::string& path, const StatusFn& status) {
    ShowStatus(status, "");
    const std::optional<std::string> found = FindFileIgnoringCase(path);
    if (!found) {
        ShowStatus(status, "PAK-file does not exist:" + path);
        return -1;
    }
    if (IsFileInUse(*found)) {
        ShowStatus(status, "PAK-file is in use:" + *found);
        return -1;
    }
    const std::string name = fs::path(*found).filename().string();
    for (const TStrObject& pak : paks_) {
        if (pak.path == *found) {
            ShowStatus(status, "PAK-file " + name + " already in list");
            return -1;
        }
    }
    ShowStatus(status, "Checking for relevant files in PAK-file: " + name);
    const TPakContents contents = ScanPakContents(*found);
    if (!contents.Relevant()) {
        ShowStatus(status, "PAK-file does not contain any relevant files: " + name);
        return -1;
    }
    paks_.push_back({*found, name, NewExtractDir(), contents.hasTextures, contents.hasShaders,
                     contents.hasModels});
    ShowStatus(status, "PAK-file added to the list: " + name);
    return Count() - 1;
}

bool TPakList::DeletePak(int index) {
    if (index < 0 || index >= Count()) return false;
    paks_.erase(paks_.begin() + index);
    return true;
}

bool TPakList::MovePak(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count()) return false;
    TStrObject moved = std::move(paks_[static_cast<std::size_t>(from)]);
    paks_.erase(paks_.begin() + from);
    paks_.insert(paks_.begin() + to, std::move(moved));
    return true;
}

void TPakList::ClearPaks() {
    paks_.clear();
}

std::vector<std::string> TPakList::AddPaksFromSettings(const std::vector<std::string>& paths,
                                                       const StatusFn& status) {
    std::vector<std::string> problems;
    for (const std::string& path : paths) {
        if (path.empty()) continue;
        try {
            AddPak(path, status);
        } catch (const FileError& e) {
            problems.push_back(e.what());
        }
    }
    return problems;
}

std::vector<std::string> TPakList::Paths() const {
    std::vector<std::string> paths;
    for (const TStrObject& pak : paks_)
        paths.push_back(pak.path);
    return paths;
}

std::optional<std::string> TPakList::FirstPakInUse() const {
    for (const TStrObject& pak : paks_) {
        if (IsFileInUse(pak.path)) return pak.path;
    }
    return std::nullopt;
}

std::vector<std::string> TPakList::CreateExtractDirs() const {
    std::vector<std::string> problems;
    for (const TStrObject& pak : paks_) {
        std::error_code ec;
        fs::create_directories(pak.extractDir, ec);
        if (ec)
            problems.push_back("Cannot create folder \"" + pak.extractDir + "\". " + ec.message());
    }
    return problems;
}
