#include "assets/model_file_names.h"

#include "assets/archive_names.h"
#include "io/path_case.h"

namespace {

bool IsVertexModelName(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string ext = LowerCaseAscii(name.substr(name.size() - 4));
    return ext == ".md3" || ext == ".mdc";
}

}  // namespace

std::vector<std::string> ModelFileCandidates(std::string_view name, int level) {
    if (level < 0 || level >= kModelLodLevels) return {};
    if (!IsVertexModelName(name)) {
        if (level == 0) return {std::string(name)};
        return {};
    }
    // The game swaps the last character, so a name in capitals keeps them up to it.
    std::string stem(name.substr(0, name.size() - 1));
    if (level > 0)
        stem = std::string(name.substr(0, name.size() - 4)) + "_" + std::to_string(level) + ".md";
    return {stem + "3", stem + "c"};
}

std::string FindModelFile(const std::string& name, const TGameFileFinder& find, int level) {
    for (const std::string& candidate : ModelFileCandidates(name, level)) {
        std::string found = find(candidate);
        if (!found.empty()) return found;
    }
    return {};
}

std::vector<TModelLevelFile> FindLowerModelLevels(const std::string& name,
                                                  const TGameFileFinder& find) {
    std::vector<TModelLevelFile> levels;
    for (int level = 1; level < kModelLodLevels; ++level) {
        std::string file = FindModelFile(name, find, level);
        if (!file.empty()) levels.push_back({level, std::move(file)});
    }
    return levels;
}

std::string FindFileOnDisk(const std::string& path) {
    return FindFileIgnoringCase(path).value_or("");
}

std::string CandidateListText(const std::vector<std::string>& candidates) {
    std::string text;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (i > 0) text += i + 1 == candidates.size() ? " or " : ", ";
        text += "\"" + candidates[i] + "\"";
    }
    return text;
}
