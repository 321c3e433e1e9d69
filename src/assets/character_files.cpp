#include "assets/character_files.h"

#include <filesystem>
#include <optional>

#include "assets/archive_loads.h"
#include "assets/game_assets.h"
#include "assets/game_file_name.h"
#include "io/file_bytes.h"
#include "io/path_case.h"

namespace fs = std::filesystem;

namespace {

// An included animation list is a few kilobytes.
constexpr std::int64_t kMaxIncludedBytes = 16 << 20;

std::optional<std::string> Existing(const fs::path& path) {
    return FindFileIgnoringCase(path.lexically_normal().string());
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

fs::path CharacterTreeRoot(const std::string& charFile) {
    const fs::path folder = fs::absolute(fs::path(charFile)).lexically_normal().parent_path();
    for (fs::path at = folder; at != at.parent_path(); at = at.parent_path()) {
        const std::string name = LowerAscii(at.filename().string());
        if (name == "characters") return at.parent_path();
        if (name == "etmain") return at;
    }
    return folder;
}

namespace {

std::string FindGameFile(const std::string& named, const std::string& charFile,
                         const TGameAssets* game) {
    const std::optional<std::string> gameName = GameFileName(named);
    if (!gameName) return {};
    const std::string& gamePath = *gameName;
    if (game != nullptr && !game->GamePath().empty()) {
        if (auto found = Existing(fs::path(game->GamePath()) / "etmain" / gamePath)) return *found;
    }
    if (game != nullptr && !game->Paks().Empty()) {
        const TEntryExtraction extracted =
            ExtractFromGamePaks(game->Paks(), gamePath, game->TmpDir());
        if (extracted.ok()) return extracted.path;
    }
    if (auto found = Existing(CharacterTreeRoot(charFile) / gamePath)) return *found;
    const fs::path folder = fs::absolute(fs::path(charFile)).parent_path();
    if (auto found = Existing(folder / fs::path(gamePath).filename())) return *found;
    return {};
}

void FindAttachments(TCharacterFiles& files, const std::string& charFile, const TGameAssets* game) {
    TAttachmentSearch extras = FindCharacterAttachments(
        files.def, files.skin,
        [&](const std::string& gamePath) { return FindGameFile(gamePath, charFile, game); });
    files.attachments = std::move(extras.attachments);
    for (std::string& m : extras.missing)
        files.missing.push_back(std::move(m));
}

}  // namespace

TCharacterFiles FindCharacterFiles(const std::string& charFile, const TGameAssets* game) {
    TCharacterFiles files;
    const TCharacterParse parsed = LoadCharacterDef(charFile);
    if (!parsed.ok) {
        files.missing.push_back(parsed.error);
        return files;
    }
    files.def = parsed.def;
    files.charFile = charFile;
    const auto find = [&](const char* what, const std::string& path) {
        std::string found = FindGameFile(path, charFile, game);
        if (found.empty())
            files.missing.push_back(std::string(what) + " \"" + path + "\" not found");
        return found;
    };
    files.mesh = find("mesh", files.def.mesh);
    const std::string skinPath = CharacterSkinPath(files.def);
    if (!skinPath.empty()) files.skin = find("skin", skinPath);
    FindAttachments(files, charFile, game);
    if (files.def.animationGroup.empty()) {
        files.missing.push_back("the definition names no animation group");
        return files;
    }
    const std::string group = find("animation group", files.def.animationGroup);
    if (group.empty()) return files;
    // The game's groups include each animation file's list (an .aninc) from the game.
    const TAnimGroupInclude beside = IncludesBeside(group);
    TAnimGroupParse animations =
        LoadAnimGroup(group, [&](const std::string& path) -> std::optional<std::string> {
            const std::string found = FindGameFile(path, charFile, game);
            std::vector<std::uint8_t> bytes;
            std::string error;
            if (found.empty() || !ReadFileBytes(found, kMaxIncludedBytes, bytes, error))
                return beside(path);
            return std::string(bytes.begin(), bytes.end());
        });
    if (!animations.ok) {
        files.missing.push_back(animations.error);
        return files;
    }
    files.mdx = find("animation", animations.files.front().mdx);
    files.animations = animations.files.front().animations;
    files.animationFiles = std::move(animations.files);
    return files;
}

std::string FindCharacterAnimationFile(const TCharacterFiles& files, std::size_t index,
                                       const TGameAssets* game) {
    if (index >= files.animationFiles.size()) return {};
    if (index == 0) return files.mdx;
    return FindGameFile(files.animationFiles[index].mdx, files.charFile, game);
}

std::string MissingCharacterText(const TCharacterFiles& files) {
    std::string text;
    for (const std::string& m : files.missing)
        text += (text.empty() ? "" : "; ") + m;
    return text;
}
