#include "assets/skin.h"

#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "io/file_bytes.h"
#include "io/file_error.h"

namespace {

// The next token of a skin's text, as the game's skin reader splits it. Sets `end` when the
// text holds no further token.
std::string NextToken(std::string_view text, std::size_t& pos, bool& end) {
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    for (;;) {
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ')
            ++pos;
        if (at(pos) == '/' && at(pos + 1) == '/') {
            while (pos < text.size() && text[pos] != '\n')
                ++pos;
        } else if (at(pos) == '/' && at(pos + 1) == '*') {
            pos = text.find("*/", pos + 2);
            pos = pos == std::string_view::npos ? text.size() : pos + 2;
        } else {
            break;
        }
    }
    end = pos >= text.size();
    if (end) return {};
    std::string token;
    if (text[pos] == '"') {
        const std::size_t close = text.find('"', pos + 1);
        const std::size_t stop = close == std::string_view::npos ? text.size() : close;
        token.assign(text.substr(pos + 1, stop - pos - 1));
        pos = close == std::string_view::npos ? text.size() : close + 1;
        return token;
    }
    do {
        token.push_back(text[pos]);
        ++pos;
    } while (pos < text.size() && static_cast<unsigned char>(text[pos]) > ' ' && text[pos] != ',');
    return token;
}

}  // namespace

TSkin ParseSkin(std::string_view text) {
    TSkin skin;
    std::size_t pos = 0;
    bool end = false;
    while (pos < text.size()) {
        const std::string token = NextToken(text, pos, end);
        // A quoted empty token ends the skin as it ends the game's reading.
        if (end || token.empty()) break;
        if (pos < text.size() && text[pos] == ',') ++pos;
        if (token.find("tag_") != std::string::npos) continue;
        TSkinRec rec;
        rec.surfaceName = LowerCaseAscii(token);
        rec.modelSlot = token.find("md3_") != std::string::npos;
        rec.path = LowerCaseAscii(NextToken(text, pos, end));
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

std::string SkinSurfaceName(std::string_view storedName, TSkinNaming naming) {
    if (naming == TSkinNaming::Skeletal) return std::string(storedName);
    std::string name = LowerCaseAscii(storedName);
    // The game's MD3 loader drops "_1"/"_2"-style endings left by an old exporter.
    if (name.size() > 2 && name[name.size() - 2] == '_') name.resize(name.size() - 2);
    return name;
}

TSkinRec* FindSkinRec(TSkin& skin, std::string_view storedName, TSkinNaming naming) {
    const std::string wanted = SkinSurfaceName(storedName, naming);
    for (TSkinRec& rec : skin) {
        if (!rec.modelSlot && rec.surfaceName == wanted) return &rec;
    }
    return nullptr;
}

const TSkinRec* FindSkinRec(const TSkin& skin, std::string_view storedName, TSkinNaming naming) {
    return FindSkinRec(const_cast<TSkin&>(skin), storedName, naming);
}
