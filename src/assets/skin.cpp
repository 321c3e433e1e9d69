#include "assets/skin.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "io/file_bytes.h"
#include "io/file_error.h"
#include "render/shader_lines.h"

namespace {

std::string CleanField(std::string_view text) {
    std::string field(text);
    field.erase(std::remove(field.begin(), field.end(), '"'), field.end());
    return LowerCaseAscii(TrimBlanks(field));
}

}  // namespace

TSkin ParseSkin(std::string_view text) {
    TSkin skin;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) continue;
        TSkinRec rec;
        rec.surfaceName = CleanField(line.substr(0, comma));
        rec.path = CleanField(line.substr(comma + 1));
        if (!rec.path.empty()) skin.push_back(std::move(rec));
    }
    return skin;
}

bool LoadSkin(const std::string& fileName, TSkin& skin) {
    skin.clear();
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return false;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxSkinFileBytes, bytes, error))
        throw FileError("Cannot read skin \"" + fileName + "\". " + error);
    skin = ParseSkin(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

TSkinRec* FindSkinRec(TSkin& skin, std::string_view surfaceName) {
    const std::string wanted = LowerCaseAscii(surfaceName);
    for (TSkinRec& rec : skin) {
        if (rec.surfaceName == wanted) return &rec;
    }
    return nullptr;
}

const TSkinRec* FindSkinRec(const TSkin& skin, std::string_view surfaceName) {
    return FindSkinRec(const_cast<TSkin&>(skin), surfaceName);
}
