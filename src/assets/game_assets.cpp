#include "assets/game_assets.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/game_path.h"

namespace fs = std::filesystem;

TGameAssets::TGameAssets(const std::string& tmpDir)
    : mapDir_(WithTrailingSeparator(tmpDir) + "tmpmap/"), paks_(tmpDir) {}

std::vector<std::string> TGameAssets::CreateWorkFolders() const {
    std::vector<std::string> problems;
    for (const std::string& folder : {TmpDir(), mapDir_}) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) problems.push_back("Cannot create folder \"" + folder + "\". " + ec.message());
    }
    for (std::string& problem : paks_.CreateExtractDirs())
        problems.push_back(std::move(problem));
    return problems;
}

bool TGameAssets::SetGamePath(const std::string& path, const StatusFn& status,
                              TShaderScanReport* report, TProgress* progress) {
    ShowStatus(status, "");
    std::vector<TETShader> previousIndex = std::move(indexes_.game);
    indexes_.game.clear();
    if (path.empty()) return false;
    const std::string folder = WithTrailingSeparator(path);
    if (!IsValidGamePath(folder)) return false;
    std::string previousPath = std::move(gamePath_);
    gamePath_ = folder;
    TShaderScanReport scan = ScanGameShaderFiles(status, progress);
    const bool cancelled = scan.cancelled;
    if (cancelled) {
        gamePath_ = std::move(previousPath);
        indexes_.game = std::move(previousIndex);
    }
    if (report != nullptr) *report = std::move(scan);
    return !cancelled;
}

void TGameAssets::ClearGamePath() {
    gamePath_.clear();
    indexes_.game.clear();
}

std::vector<std::string> TGameAssets::UseGameFolder(const std::string& gamePath,
                                                    const StatusFn& status) {
    ClearPaks();
    const std::vector<std::string> paks = ListGamePaks(gamePath);
    std::vector<std::string> problems = paks_.AddPaksFromSettings(paks, status);
    for (std::string& problem : CreateWorkFolders())
        problems.push_back(std::move(problem));
    TShaderScanReport report;
    if (!SetGamePath(gamePath, status, &report))
        problems.push_back("Not a game folder (no etmain with pak0.pk3 or scripts): " + gamePath);
    for (std::string& problem : report.problems)
        problems.push_back(std::move(problem));
    return problems;
}

bool TGameAssets::DeletePak(int index) {
    if (!paks_.DeletePak(index)) return false;
    std::erase_if(indexes_.game, [index](const TETShader& entry) {
        return entry.pak == 1 && entry.pakNr == index;
    });
    for (TETShader& entry : indexes_.game) {
        if (entry.pak == 1 && entry.pakNr > index) --entry.pakNr;
    }
    return true;
}

bool TGameAssets::MovePak(int from, int to) {
    if (!paks_.MovePak(from, to)) return false;
    for (TETShader& entry : indexes_.game) {
        if (entry.pak != 1) continue;
        if (entry.pakNr == from) {
            entry.pakNr = to;
        } else if (from < to && entry.pakNr > from && entry.pakNr <= to) {
            --entry.pakNr;
        } else if (to < from && entry.pakNr >= to && entry.pakNr < from) {
            ++entry.pakNr;
        }
    }
    return true;
}

void TGameAssets::ClearPaks() {
    paks_.ClearPaks();
    std::erase_if(indexes_.game, [](const TETShader& entry) { return entry.pak == 1; });
}

int TGameAssets::GameShaderCount() const {
    int names = 0;
    for (const TETShader& entry : indexes_.game)
        names += static_cast<int>(entry.shaderNames.size());
    return names;
}

bool TGameAssets::LoadSkin(const std::string& fileName) {
    return ::LoadSkin(fileName, skin_);
}

bool TGameAssets::ClearSkin() {
    const bool had = !skin_.empty();
    skin_.clear();
    return had;
}

std::string ShaderFileDisplayText(ShaderFileIndex index, const TETShader& entry) {
    switch (index) {
        case ShaderFileIndex::ShaderList:
            return "SHADERLIST:\\\\" + fs::path(entry.fileName).filename().string();
        case ShaderFileIndex::MapArchive:
            return "MAP:\\\\scripts\\" + entry.fileName;
        case ShaderFileIndex::Game:
            return entry.pak == 1 ? "GAME:\\\\scripts\\" + entry.fileName : entry.path;
    }
    return entry.path;
}
