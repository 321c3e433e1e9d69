#include "assets/pk3_tree.h"

#include "assets/archive_names.h"
#include "assets/pk3_archive.h"
#include "io/file_error.h"
#include "io/file_lock.h"

std::vector<std::string> PK3ModeMasks(int mode) {
    switch (mode) {
        case kPK3ModeMD3:
        case kPK3ModeArchiveFile:
            // The game loads a compressed model wherever it loads an MD3.
            return {"*.MD3", "*.MDC"};
        case kPK3ModeSkin:
            return {"*.skin"};
        case kPK3ModeMDM:
            return {"*.MDM"};
        case kPK3ModeMDX:
            return {"*.MDX"};
        case kPK3ModeCharacter:
            return {"*.char"};
        default:
            return {};
    }
}

std::string PK3ModeCaption(int mode, const std::string& archiveName) {
    const auto fromGame = [&archiveName](const char* what) {
        return std::string("Select ") + what + " from the game-PAK (" + archiveName + ")";
    };
    switch (mode) {
        case kPK3ModeMD3:
            return fromGame("an MD3-model");
        case kPK3ModeSkin:
            return fromGame("a skin");
        case kPK3ModeArchiveFile:
            return "Select a .PK3";
        case kPK3ModeMDM:
            return fromGame("an MDM-model");
        case kPK3ModeMDX:
            return fromGame("an MDX-animation");
        case kPK3ModeCharacter:
            return fromGame("a character");
        default:
            return "";
    }
}

std::vector<TPK3Source> PK3SourcesOf(const TPakList& paks) {
    std::vector<TPK3Source> sources;
    for (const TStrObject& pak : paks.Paks())
        sources.push_back({pak.path, pak.name});
    return sources;
}

namespace {

bool MatchesAny(const std::vector<std::string>& masks, std::string_view name) {
    for (const std::string& mask : masks)
        if (MatchesArchiveMask(mask, name)) return true;
    return false;
}

// In the archive's order, whichever mask an entry matches.
void ListArchive(const std::vector<std::string>& masks, TPK3ArchiveNode& node, TPK3Tree& tree) {
    try {
        const TPK3Archive archive(node.path);
        for (const TArchiveEntry& entry : archive.Entries()) {
            if (entry.IsFolder() || !MatchesAny(masks, entry.name)) continue;
            std::string folder = entry.Folder();
            if (node.folders.empty() || node.folders.back().folder != folder)
                node.folders.push_back({std::move(folder), {}});
            node.folders.back().files.push_back(entry.FileName());
            tree.found = true;
        }
    } catch (const FileError& e) {
        tree.messages.push_back(e.what());
    }
}

}  // namespace

TPK3Tree BuildPK3Tree(int mode, const std::vector<TPK3Source>& sources,
                      const std::function<bool(const std::string&)>& inUse) {
    TPK3Tree tree;
    tree.mode = mode;
    const std::vector<std::string> masks = PK3ModeMasks(mode);
    if (masks.empty()) return tree;
    for (const TPK3Source& source : sources) {
        const bool locked = inUse ? inUse(source.path) : IsFileInUse(source.path);
        if (locked) {
            tree.messages.push_back("File in use: " + source.path + "\n\nThe file will be skipped");
            continue;
        }
        tree.caption = PK3ModeCaption(mode, source.name);
        if (mode == kPK3ModeArchiveFile) tree.chosenArchive = source.path;
        tree.archives.push_back({source.name, source.path, {}});
        ListArchive(masks, tree.archives.back(), tree);
    }
    return tree;
}

std::optional<TPK3Selection> SelectPK3File(const TPK3Tree& tree, std::size_t archive,
                                           std::size_t folder, std::size_t file) {
    if (archive >= tree.archives.size()) return std::nullopt;
    const TPK3ArchiveNode& node = tree.archives[archive];
    if (folder >= node.folders.size() || file >= node.folders[folder].files.size())
        return std::nullopt;
    const TPK3FolderNode& folderNode = node.folders[folder];
    TPK3Selection selection;
    selection.entryFolder = folderNode.folder;
    selection.entryPath = folderNode.folder + folderNode.files[file];
    if (tree.mode == kPK3ModeArchiveFile) {
        selection.chosenArchive = tree.chosenArchive;
    } else {
        selection.sourcePak = node.path;
    }
    return selection;
}
