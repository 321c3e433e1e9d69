#include "shader/shader_index.h"

#include "shader/shader_flags.h"
#include "shader/shader_lines.h"

std::vector<std::string> IndexShaderNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    int depth = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (Contains(line, "{")) {
            ++depth;
        } else if (Contains(line, "}")) {
            // A stray closing brace at the top level must not hide every later shader of
            // the file, so the depth never drops below zero.
            if (depth > 0) --depth;
        } else if (depth == 0) {
            names.push_back(LowerCase(line));
        }
    }
    return names;
}

int IndexShaderFile(const std::string& fileName, TETShader& entry) {
    // Emptied first, so a script that cannot be read leaves no stale names behind.
    entry.shaderNames.clear();
    entry.shaderNames = IndexShaderNames(LoadShaderLines(fileName, false));
    return static_cast<int>(entry.shaderNames.size());
}

namespace {

std::optional<ShaderNameMatch> FindIn(const TETShaders& files, ShaderFileIndex index,
                                      std::uint32_t flags, const std::string& name,
                                      const std::string& slashed) {
    for (std::size_t file = 0; file < files.size(); ++file) {
        const std::vector<std::string>& names = files[file].shaderNames;
        for (std::size_t n = 0; n < names.size(); ++n) {
            if (names[n] == name || names[n] == slashed) {
                return ShaderNameMatch{index, static_cast<int>(file), static_cast<int>(n), flags};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ShaderNameMatch> FindShaderName(std::string_view name,
                                              const TShaderFileIndexes& indexes) {
    const std::string lower = LowerCase(name);
    const std::string slashed = ForwardSlashes(lower);
    if (auto match = FindIn(indexes.shaderList, ShaderFileIndex::ShaderList,
                            kShaderFoundInScript | kShaderFromShaderList, lower, slashed)) {
        return match;
    }
    if (auto match = FindIn(indexes.mapArchive, ShaderFileIndex::MapArchive,
                            kShaderFoundInScript | kShaderFoundInArchive, lower, slashed)) {
        return match;
    }
    return FindIn(indexes.game, ShaderFileIndex::Game,
                  kShaderFoundInScript | kShaderFoundInGame | kShaderFoundInArchive, lower,
                  slashed);
}

const TETShader& MatchedFile(const TShaderFileIndexes& indexes, const ShaderNameMatch& match) {
    const TETShaders& files = match.index == ShaderFileIndex::ShaderList   ? indexes.shaderList
                              : match.index == ShaderFileIndex::MapArchive ? indexes.mapArchive
                                                                           : indexes.game;
    return files[match.fileNr];
}
