#include "import/level_map.h"

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

bool IsBrushDef(const std::vector<std::string_view>& lines) {
    return !lines.empty() && Keyword(lines.front()) == "brushDef";
}

bool IsPatch(const std::vector<std::string_view>& lines) {
    return !lines.empty() && Keyword(lines.front()).starts_with("patchDef");
}

std::string LastComponent(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The blocks ProcessBrush is handed: every brace that closes below brush depth, the
// entity's own included. Counted first so that progress has its total before the slow part.
std::uint64_t CountBrushEnds(const std::vector<std::string_view>& lines) {
    std::uint64_t count = 0;
    int depth = 0;
    for (std::string_view line : lines) {
        if (line == "{") {
            ++depth;
        } else if (line == "}") {
            if (--depth < 2) ++count;
        }
    }
    return count;
}

std::string CountText(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many) + " skipped";
}

}  // namespace

void TLevelMap::Reset() {
    loaded_ = false;
    cancelled_ = false;
    brushCounter_ = 0;
    patchCount_ = 0;
    skippedBrushes_ = 0;
    geometry_ = {};
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
    std::vector<std::string_view> block;
    int depth = 0;
    for (std::string_view line : SplitLines(text)) {
        if (line.empty() || line.find("//") != std::string_view::npos) continue;
        block.push_back(line);
        if (line == "{") {
            ++depth;
        } else if (line == "}") {
            --depth;
            // Only the first entity is read: the worldspawn, when the map is a model.
            if (depth == 0) {
                if (!ProcessEntity(block, status, progress)) {
                    // Half a map would convert into half a model: nothing of it stays.
                    Reset();
                    path_ = keepPath;
                    baseName_ = baseName;
                    cancelled_ = true;
                    return false;
                }
                break;
            }
        }
    }
    loaded_ = true;
    return true;
}

bool TLevelMap::ProcessEntity(const std::vector<std::string_view>& lines, const StatusFn& status,
                              TProgress* progress) {
    ShowStatus(status, "Processing class: worldspawn..");
    bool worldspawn = false;
    for (std::string_view line : lines) {
        if (line.find("\"classname\"") != std::string_view::npos &&
            line.find("worldspawn") != std::string_view::npos) {
            worldspawn = true;
            break;
        }
    }
    if (!worldspawn) return true;
    const std::uint64_t total = CountBrushEnds(lines);
    std::uint64_t done = 0;
    std::vector<std::string_view> brush;
    int depth = 0;
    for (std::string_view line : lines) {
        // Face lines of a brushDef sit one level deeper than those of a plain brush; the
        // rows of a patch are never needed.
        const bool collect = line != "}" && (depth == 2 || (depth >= 3 && IsBrushDef(brush)));
        if (collect) brush.push_back(line);
        if (line == "{") {
            ++depth;
        } else if (line == "}") {
            --depth;
            if (depth < 2) {
                ProcessBrush(brush, status);
                if (!ReportProgress(progress, ++done, total)) return false;
            }
        }
    }
    return true;
}

void TLevelMap::ProcessBrush(std::vector<std::string_view>& lines, const StatusFn& status) {
    ++brushCounter_;
    ShowStatus(status, "Processing brush " + std::to_string(brushCounter_));
    if (lines.empty()) return;
    const bool brushDef = IsBrushDef(lines);
    if (IsPatch(lines)) {
        ++patchCount_;
    } else if (lines.size() > static_cast<std::size_t>(kMaxBrushFaces) + (brushDef ? 2 : 0)) {
        ++skippedBrushes_;
    } else {
        std::vector<TMapFace> faces;
        faces.reserve(lines.size());
        for (std::size_t i = brushDef ? 1 : 0; i < lines.size(); ++i) {
            TMapFace& face = faces.emplace_back();
            const bool read =
                brushDef ? ReadBrushDefFaceLine(lines[i], face) : ReadFaceLine(lines[i], face);
            if (read) face.textureIndex = TextureEntry(face.textureName);
        }
        BuildBrushPolygons(faces, textures_, geometry_);
    }
    lines.clear();
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
    std::string text;
    if (skippedBrushes_ > 0) text = CountText(skippedBrushes_, "brush", "brushes");
    if (patchCount_ > 0) {
        if (!text.empty()) text += ", ";
        text += CountText(patchCount_, "patch", "patches");
    }
    return text;
}
