// The indexes of shader names defined in script files, and the lookup of a name across the
// three of them (the user's shader list, the map archive's scripts, the game's scripts).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TETShader {
    std::uint8_t pak = 0;  // 1 when the script was taken from an archive (game PAK or map PK3)
    std::string fileName;
    int pakNr = 0;                         // position in the PAK list of the game PK3 it came from
    std::vector<std::string> shaderNames;  // lower case, in file order
    // The file that was indexed and that LoadShader reads again: where it lies on disk in
    // whatever letter case, so the lookup never has to rebuild it from the other fields.
    std::string path;
};

using TETShaders = std::vector<TETShader>;

// The three indexes in the order a name is looked up in them.
struct TShaderFileIndexes {
    TETShaders shaderList;
    TETShaders mapArchive;
    TETShaders game;
};

enum class ShaderFileIndex { ShaderList, MapArchive, Game };

struct ShaderNameMatch {
    ShaderFileIndex index = ShaderFileIndex::ShaderList;
    int fileNr = 0;           // entry in that index
    int nameNr = 0;           // name in that entry's shaderNames
    std::uint32_t flags = 0;  // the shader-entry flag bits that say where it was found
};

// The shader names a prepared (case-kept) script defines, lower-cased. A name counts only
// on a line of its own outside every brace block; a line that also opens a brace counts as
// the brace alone.
std::vector<std::string> IndexShaderNames(const std::vector<std::string>& lines);

// Replaces entry.shaderNames with the names the script file defines and returns how many
// there are (the game scan totals them). Throws FileError when the file cannot be read.
int IndexShaderFile(const std::string& fileName, TETShader& entry);

// Looks `name` up, also with its backslashes turned into slashes, without regard to case:
// the shader list first, then the map archive, then the game; files and names in order.
std::optional<ShaderNameMatch> FindShaderName(std::string_view name,
                                              const TShaderFileIndexes& indexes);

// The script file a match was found in.
const TETShader& MatchedFile(const TShaderFileIndexes& indexes, const ShaderNameMatch& match);
