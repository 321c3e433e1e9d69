// The ordered list of game archives (PAKs) the user works with, each with the folder its
// entries are extracted to. The list is in the game's loading order: as in the game, an
// archive listed later overrides the ones before it, so lookups go through SearchOrder().
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assets/status_text.h"

struct TStrObject {
    std::string path;        // full file path of the archive
    std::string name;        // its file name, shown to the user
    std::string extractDir;  // TmpDir + "gp" + number + "/"
    bool hasTextures = false;
    bool hasShaders = false;
    bool hasModels = false;
};

// What the three scans of AddPak found in an archive.
struct TPakContents {
    bool hasTextures = false;  // "*.tga", "*.jpg" or "*.bmp"
    bool hasShaders = false;   // "*.shader"
    bool hasModels = false;    // "*.md3", "*.mdc", "*.mdm", "*.mdx", "*.mds" or "*.ase"

    bool Relevant() const { return hasTextures || hasShaders || hasModels; }
};

// Throws FileError when the archive cannot be opened.
TPakContents ScanPakContents(const std::string& path);

class TPakList {
  public:
    // `tmpDir` is the extraction root; every PAK gets a folder below it.
    explicit TPakList(std::string tmpDir);

    // Adds an existing, unlocked archive that holds textures, shaders or models and is not
    // yet listed (paths compared exactly, after finding the file in any letter case).
    // Returns its position, or -1 with the reason as the last status text ("PAK-file does
    // not exist:<path>", "PAK-file is in use:<path>", "PAK-file <name> already in list",
    // "PAK-file does not contain any relevant files: <name>"); success ends with "PAK-file
    // added to the list: <name>". Throws FileError when the archive cannot be opened.
    int AddPak(const std::string& path, const StatusFn& status = {});

    // Removes one entry, keeping the order and extraction folders of the rest; false for an
    // index outside the list.
    bool DeletePak(int index);
    // Moves one entry to position `to`, the others keeping their order and folders; false
    // when either position is outside the list.
    bool MovePak(int from, int to);
    void ClearPaks();

    // Adds the settings' PAKsList values in order, each with AddPak's checks; empty values
    // are skipped. Archives that cannot be opened are left out; the reasons are returned.
    std::vector<std::string> AddPaksFromSettings(const std::vector<std::string>& paths,
                                                 const StatusFn& status = {});
    // The paths to write back into the settings, in list order.
    std::vector<std::string> Paths() const;

    // The first archive of the list another program holds locked (start-up check).
    std::optional<std::string> FirstPakInUse() const;
    // Creates every entry's extraction folder that is missing; the reasons of failures.
    std::vector<std::string> CreateExtractDirs() const;

    const std::vector<TStrObject>& Paks() const { return paks_; }
    // The archives in the order lookups try them: the last listed first. (A pair of reverse
    // iterators rather than a reversed view, which clang's ranges reject with this library.)
    struct TSearchOrder {
        std::vector<TStrObject>::const_reverse_iterator first, last;
        auto begin() const { return first; }
        auto end() const { return last; }
    };
    TSearchOrder SearchOrder() const { return {paks_.crbegin(), paks_.crend()}; }
    int Count() const { return static_cast<int>(paks_.size()); }
    bool Empty() const { return paks_.empty(); }
    const TStrObject& operator[](int index) const { return paks_[index]; }
    const std::string& TmpDir() const { return tmpDir_; }

  private:
    std::string NewExtractDir() const;

    std::string tmpDir_;
    std::vector<TStrObject> paks_;
};
