// Skin files: "surface, path" pairs that give a model's surfaces other shaders or images
// (one skin per team or uniform), read and matched the way the game's renderer does. The
// table lives until it is cleared; every model load clears it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TSkinRec {
    std::string surfaceName;   // lower case; for a model slot its "md3_..." name
    std::string path;          // shader or image path, lower case, without double quotes
    std::string resolvedName;  // the name the last resolution found for the surface
    bool modelSlot = false;    // an "md3_..." line: a model to attach, not a surface
};

using TSkin = std::vector<TSkinRec>;

// Far above any skin file; a larger file is not one.
inline constexpr std::int64_t kMaxSkinFileBytes = 1 << 20;

// The records of a skin file's text, read as the game reads it: a stream of tokens split at
// blanks and commas (a double-quoted token may hold both), skipping // and /* */ comments.
// Each surface token is followed by its path token; a token containing "tag_" stands alone
// and is skipped; one containing "md3_" is a model slot followed by the model's path. Names
// and paths are lower-cased; a surface whose path is empty is left out. Any byte is accepted.
TSkin ParseSkin(std::string_view text);

// Reads a skin file into `skin` (emptied first). False when the file does not exist (the
// table stays empty); throws FileError when it exists but cannot be read or is larger than
// kMaxSkinFileBytes.
bool LoadSkin(const std::string& fileName, TSkin& skin);

// How the game names a model family's surfaces when it compares them with a skin's lines.
enum class TSkinNaming {
    VertexModel,  // MD3 and MDC: lower-cased at load, and a "_x" ending cut off
    Skeletal,     // MDM and MDS: as stored, so letter case counts
};

// The name the game compares with the skin's (lower-case) surface names: for vertex models
// the stored name in lower case without a trailing '_' plus one character ("b6_2" -> "b6"),
// for skeletal models the stored name unchanged.
std::string SkinSurfaceName(std::string_view storedName, TSkinNaming naming);

// The first surface record (never a model slot) the game would use for the stored surface
// name, or nullptr.
TSkinRec* FindSkinRec(TSkin& skin, std::string_view storedName, TSkinNaming naming);
const TSkinRec* FindSkinRec(const TSkin& skin, std::string_view storedName, TSkinNaming naming);
