#include "check/level_of_detail_check.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "assets/model_file_names.h"
#include "check/model_check.h"
#include "io/binary_file.h"
#include "io/file_error.h"
#include "md3/md3.h"

namespace {

// The game tells an MD3 from an MDC by the first four bytes, whatever the name says.
std::string KindOf(const std::string& file) {
    char ident[4] = {};
    try {
        const BinaryFile in(file);
        if (!in.ReadAt(0, ident, sizeof ident)) return {};
    } catch (const FileError&) {
        return {};
    }
    return std::string(ident, sizeof ident);
}

std::string KindName(const std::string& ident) {
    return ident == "IDP3" ? "an MD3" : ident == "IDPC" ? "an MDC" : "neither MD3 nor MDC";
}

std::vector<std::string> TagNames(const TMD3& model) {
    std::vector<std::string> names;
    const THeader& h = model.header;
    for (int t = 0; t < h.numTags && static_cast<std::size_t>(t) < h.tags.size(); ++t)
        names.push_back(NameFieldText(h.tags[static_cast<std::size_t>(t)].name));
    return names;
}

std::string NameList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names)
        text += (text.empty() ? "\"" : ", \"") + n + "\"";
    return text;
}

// "" when both hold the same names (in any order); else what differs, for a finding.
std::string NamesDiffer(const char* what, std::vector<std::string> level,
                        std::vector<std::string> base) {
    std::sort(level.begin(), level.end());
    std::sort(base.begin(), base.end());
    if (level == base) return {};
    std::vector<std::string> onlyHere, onlyBase;
    std::set_difference(level.begin(), level.end(), base.begin(), base.end(),
                        std::back_inserter(onlyHere));
    std::set_difference(base.begin(), base.end(), level.begin(), level.end(),
                        std::back_inserter(onlyBase));
    std::string text = std::string(what) +
                       " differ from level 0's: " + std::to_string(level.size()) + " here, " +
                       std::to_string(base.size()) + " in level 0";
    if (!onlyHere.empty()) text += "; only here " + NameList(onlyHere);
    if (!onlyBase.empty()) text += "; only in level 0 " + NameList(onlyBase);
    return text;
}

TCheckFinding Finding(const std::string& where, std::string what, TSeverity severity) {
    TCheckFinding f;
    f.what = std::move(what);
    f.where = where;
    f.counted = false;
    f.severity = severity;
    return f;
}

}  // namespace

TCheckFindings CheckModelLevelsBeside(const std::string& modelPath, const TMD3& model) {
    return CheckModelLevels(model, modelPath, FindLowerModelLevels(modelPath, &FindFileOnDisk));
}

TCheckFindings CheckModelLevels(const TMD3& model, const std::string& modelFile,
                                const std::vector<TModelLevelFile>& levels) {
    TCheckFindings findings;
    if (levels.empty()) return findings;
    const std::string baseKind = KindOf(modelFile);
    for (const TModelLevelFile& level : levels) {
        const std::string where = "level " + std::to_string(level.level) + " \"" +
                                  std::filesystem::path(level.file).filename().string() + "\"";
        const auto add = [&](std::string what, TSeverity severity) {
            findings.push_back(Finding(where, std::move(what), severity));
        };
        // The game counts the levels it found and asks for each below that count.
        if (level.level == 2 && levels.front().level != 1)
            add("there is no level 1, which the game then draws from nothing", TSeverity::Error);
        const std::string kind = KindOf(level.file);
        if (kind != baseKind) {
            add("is " + KindName(kind) + " and level 0 " + KindName(baseKind) +
                    ": the game draws every level as the kind of level 0",
                TSeverity::Error);
            continue;
        }
        TMD3 lower;
        bool read = false;
        try {
            read = lower.LoadLayoutFromFile(level.file);
        } catch (const FileError& e) {
            add(std::string("cannot be read (") + e.what() +
                    "): the game then fails to load the model",
                TSeverity::Error);
            continue;
        }
        if (!read) {
            add("cannot be read (" + lower.LastError() + "): the game then fails to load the model",
                TSeverity::Error);
            continue;
        }
        const std::string surfaces =
            NamesDiffer("surfaces", SurfaceNames(lower), SurfaceNames(model));
        if (!surfaces.empty()) add(surfaces, TSeverity::Warning);
        const std::string tags = NamesDiffer("tags", TagNames(lower), TagNames(model));
        if (!tags.empty()) add(tags, TSeverity::Warning);
        if (lower.header.numFrames < model.header.numFrames) {
            add(std::to_string(lower.header.numFrames) + " frames, level 0 has " +
                    std::to_string(model.header.numFrames) +
                    ": the game shows frame 0 here for the frames this level lacks",
                TSeverity::Warning);
        }
    }
    return findings;
}
