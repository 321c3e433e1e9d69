// Skin files: "surface, path" lines that give a model's surfaces other shaders or images
// (one skin per team or uniform). The table lives until it is cleared; every model load
// clears it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TSkinRec {
    std::string surfaceName;   // lower case
    std::string path;          // shader or image path, lower case, without double quotes
    std::string resolvedName;  // the name the last resolution found for the surface
};

using TSkin = std::vector<TSkinRec>;

// Far above any skin file; a larger file is not one.
inline constexpr std::int64_t kMaxSkinFileBytes = 1 << 20;

// The records of a skin file's text: each line with a comma gives the text before the first
// comma as surface name and the rest as path, both trimmed of blanks and control characters,
// lower-cased and without double quotes. Lines without a comma or with an empty path are
// skipped. Any byte is accepted.
TSkin ParseSkin(std::string_view text);

// Reads a skin file into `skin` (emptied first). False when the file does not exist (the
// table stays empty); throws FileError when it exists but cannot be read or is larger than
// kMaxSkinFileBytes.
bool LoadSkin(const std::string& fileName, TSkin& skin);

// The first record of the surface (compared in lower case), or nullptr.
TSkinRec* FindSkinRec(TSkin& skin, std::string_view surfaceName);
const TSkinRec* FindSkinRec(const TSkin& skin, std::string_view surfaceName);
