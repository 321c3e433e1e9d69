#include "import/level_map.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "import/map_face_line.h"
#include "io/file_bytes.h"

namespace {

// Far more than any map an editor writes; a larger file is refused before it is read.
constexpr std::int64_t kMaxMapFileBytes = std::int64_t{1} << 30;

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The keyword lines of brush blocks, allowing for trailing blanks some editors leave.
std::string_view Keyword(std::string_view line) {
    const std::size_t end = line.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

std::string LastComponent(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The value of a key line ("classname" "worldspawn"): the second quoted text.
std::string KeyValue(std::string_view line) {
    std::size_t at = 0;
    for (int i = 0; i < 2; ++i) {
        const std::size_t open = line.find('"', at);
        if (open == std::string_view::npos) return {};
        const std::size_t close = line.find('"', open + 1);
        if (i == 1)
            return std::string(
                line.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
        if (close == std::string_view::npos) return {};
        at = close + 1;
    }
    return {};
}

// The entities whose brushes and patches the map compiler moves into the world: the
// editor's groups are only there for the editor.
bool MergedIntoWorld(const std::string& classname) {
    return SameIgnoringCase(classname, "worldspawn") || SameIgnoringCase(classname, "func_group");
}

}  // namespace

// The lines inside one brush or patch block's braces, nested braces included.
struct TLevelMap::TBlock {
    std::vector<std::string_view> lines;
};

namespace {

struct TEntity {
    std::string classname;
    std::vector<TLevelMap::TBlock> blocks;
};

}  // namespace

void TLevelMap::Reset() {
    loaded_ = false;
    cancelled_ = false;
    brushCounter_ = 0;
    patchCount_ = 0;
    skippedBrushes_ = 0;
    slowBrushes_ = 0;
    badPatches_ = 0;
    doom3Blocks_ = 0;
    otherBrushes_ = 0;
    otherClasses_.clear();
    cutShort_ = false;
    limitExceeded_ = false;
    convertReport_.Clear();
    geometry_ = {};
    patches_.clear();
    meshes_.clear();
    textures_.clear();
    entryByName_.clear();
    lastError_.clear();
    note_.clear();
}

bool TLevelMap::LoadMap(const std::string& path, const StatusFn& status, TProgress* progress) {
    ShowStatus(status, "Loading map..");
    Reset();
    path_ = path;
    baseName_ = std::filesystem::path(path).stem().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, kMaxMapFileBytes, bytes, error)) {
        lastError_ = error;
        return false;
    }
    return LoadMapText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       baseName_, status, progress);
}

bool TLevelMap::LoadMapText(std::string_view text, const std::string& baseName,
                            const StatusFn& status, TProgress* progress) {
    const std::string keepPath = path_;
    Reset();
    path_ = keepPath;
    baseName_ = baseName;

    // Entities and their blocks first, so that progress has its total before the slow part.
    std::vector<TEntity> entities;
    TEntity entity;
    TBlock block;
    int depth = 0;
    for (std::string_view line : SplitLines(text)) {
        if (line.empty() || line.find("//") != std::string_view::npos) continue;
        if (line == "{") {
            if (depth >= 2) block.lines.push_back(line);
            ++depth;
        } else if (line == "}") {
            if (depth == 0) continue;
            --depth;
            if (depth >= 2) {
                block.lines.push_back(line);
            } else if (depth == 1) {
                entity.blocks.push_back(std::move(block));
                block = {};
            } else {
                entities.push_back(std::move(entity));
                entity = {};
            }
        } else if (depth >= 2) {
            block.lines.push_back(line);
        } else if (depth == 1 && line.find("\"classname\"") != std::string_view::npos) {
            entity.classname = KeyValue(line);
        }
    }
    cutShort_ = depth > 0;

    std::uint64_t total = 0;
    for (const TEntity& e : entities)
        if (MergedIntoWorld(e.classname)) total += e.blocks.size();
    std::uint64_t done = 0;
    for (const TEntity& e : entities) {
        if (!MergedIntoWorld(e.classname)) {
            if (e.blocks.empty()) continue;
            otherBrushes_ += static_cast<int>(e.blocks.size());
            if (std::find(otherClasses_.begin(), otherClasses_.end(), e.classname) ==
                otherClasses_.end())
                otherClasses_.push_back(e.classname);
            continue;
        }
        ShowStatus(status, "Processing class: " + e.classname + "..");
        for (const TBlock& b : e.blocks) {
            ProcessBrush(b, status);
            if (!ReportProgress(progress, ++done, total)) {
                // Half a map would convert into half a model: nothing of it stays.
                Reset();
                path_ = keepPath;
                baseName_ = baseName;
                cancelled_ = true;
                return false;
            }
        }
    }
    TessellatePatches();
    loaded_ = true;
    return true;
}

void TLevelMap::ProcessBrush(const TBlock& block, const StatusFn& status) {
    ++brushCounter_;
    ShowStatus(status, "Processing brush " + std::to_string(brushCounter_));
    const std::vector<std::string_view>& lines = block.lines;
    if (lines.empty()) return;
    const std::string_view keyword = Keyword(lines.front());
    if (keyword == "brushDef3") {
        ++doom3Blocks_;
        return;
    }
    if (keyword.starts_with("patchDef")) {
        ++patchCount_;
        TPatchControls patch;
        if (ReadPatch(lines, patch)) {
            patches_.push_back(std::move(patch));
        } else {
            ++badPatches_;
        }
        return;
    }
    const bool brushDef = keyword == "brushDef";
    std::vector<TMapFace> faces;
    faces.reserve(lines.size());
    for (std::size_t i = brushDef ? 1 : 0; i < lines.size(); ++i) {
        if (lines[i] == "{" || lines[i] == "}") continue;
        TMapFace& face = faces.emplace_back();
        const bool read =
            brushDef ? ReadBrushDefFaceLine(lines[i], face) : ReadFaceLine(lines[i], face);
        if (read) face.textureIndex = TextureEntry(face.textureName);
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(kBrushSecondsBudget));
    if (!BuildBrushPolygons(faces, textures_, geometry_, deadline)) {
        ++slowBrushes_;
        ++skippedBrushes_;
    }
}

void TLevelMap::TessellatePatches() {
    // Patches that touch share the subdivision of the longest curve among them, so that their
    // seams meet; a bounding box test first keeps this quick on maps with many patches.
    const std::size_t n = patches_.size();
    std::vector<std::size_t> group(n);
    std::vector<TVector3> lows(n), highs(n);
    for (std::size_t i = 0; i < n; ++i) {
        group[i] = i;
        TVector3 lo = patches_[i].points[0].position, hi = lo;
        for (const TMapVertex& p : patches_[i].points) {
            lo = {std::min(lo.x, p.position.x), std::min(lo.y, p.position.y),
                  std::min(lo.z, p.position.z)};
            hi = {std::max(hi.x, p.position.x), std::max(hi.y, p.position.y),
                  std::max(hi.z, p.position.z)};
        }
        lows[i] = lo;
        highs[i] = hi;
    }
    const auto root = [&group](std::size_t i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b) {
            const bool apart = lows[a].x > highs[b].x + 1.0f || lows[b].x > highs[a].x + 1.0f ||
                               lows[a].y > highs[b].y + 1.0f || lows[b].y > highs[a].y + 1.0f ||
                               lows[a].z > highs[b].z + 1.0f || lows[b].z > highs[a].z + 1.0f;
            if (apart || root(a) == root(b) || !PatchesTouch(patches_[a], patches_[b])) continue;
            group[root(a)] = root(b);
        }
    }
    std::vector<float> longest(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i)
        longest[root(i)] = std::max(longest[root(i)], LongestPatchCurve(patches_[i]));
    for (std::size_t i = 0; i < n; ++i) {
        TMapMesh mesh;
        if (TessellatePatch(patches_[i], longest[root(i)], mesh)) {
            meshes_.push_back(std::move(mesh));
        } else {
            ++badPatches_;
        }
    }
    patches_.clear();
}

std::int32_t TLevelMap::TextureEntry(const std::string& name) {
    if (auto it = entryByName_.find(name); it != entryByName_.end()) return it->second;
    TMapTexture entry;
    entry.name = name;
    if (sizeLookup_ && !name.empty()) {
        for (const std::string& candidate : {name, "textures/" + name, LastComponent(name)}) {
            const auto size = sizeLookup_(candidate);
            if (size && size->first > 0 && size->second > 0) {
                entry.width = size->first;
                entry.height = size->second;
                break;
            }
        }
    }
    const auto index = static_cast<std::int32_t>(textures_.size());
    textures_.push_back(std::move(entry));
    entryByName_.emplace(name, index);
    return index;
}

std::string TLevelMap::SkippedText() const {
    TImportReport report;
    report.Count(slowBrushes_, "brush", "brushes",
                 "left out: building took longer than " +
                     std::to_string(static_cast<int>(kBrushSecondsBudget)) + " s");
    report.Count(badPatches_, "malformed or flat patch", "malformed or flat patches", "left out");
    report.Count(doom3Blocks_, "Doom 3 brush (brushDef3)", "Doom 3 brushes (brushDef3)",
                 "not read");
    if (otherBrushes_ > 0) {
        std::string classes;
        for (const std::string& name : otherClasses_)
            classes += (classes.empty() ? "" : ", ") + (name.empty() ? "no classname" : name);
        report.Count(otherBrushes_, "brush", "brushes",
                     "of entities the map compiler keeps apart (" + classes + ") left out");
    }
    if (cutShort_) report.Note("the file ends inside an entity");
    report.Note(convertReport_.Text());
    return report.Text();
}
