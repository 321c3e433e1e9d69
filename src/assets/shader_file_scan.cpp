// The scans that fill the three shader-file indexes of TGameAssets.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"
#include "assets/game_assets.h"
#include "assets/game_path.h"
#include "assets/pk3_archive.h"
#include "io/file_error.h"
#include "io/file_names.h"

namespace fs = std::filesystem;

namespace {

bool Indexed(const TETShaders& files, const std::string& fileName) {
    return std::any_of(files.begin(), files.end(), [&](const TETShader& entry) {
        return EqualIgnoringCase(entry.fileName, fileName);
    });
}

// Indexes one script into `files`; a script that cannot be read is left out with its reason.
void AppendScript(TETShaders& files, TETShader entry, std::vector<std::string>& problems) {
    try {
        IndexShaderFile(entry.path, entry);
        files.push_back(std::move(entry));
    } catch (const FileError& e) {
        problems.push_back(e.what());
    }
}

// Scripts in the order a Windows folder lists them: by name, without regard to case.
void SortByFileName(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        const std::string la = LowerCaseAscii(fs::path(a).filename().string());
        const std::string lb = LowerCaseAscii(fs::path(b).filename().string());
        return la != lb ? la < lb : a < b;
    });
}

bool IsShaderScript(const std::string& path) {
    return UpperCaseExtension(fs::path(path).filename().string()) == ".SHADER";
}

}  // namespace

void TGameAssets::IndexGameFolderScripts(TShaderScanReport& report) {
    const std::optional<std::string> etmain = GameEtmainFolder(gamePath_);
    if (!etmain) return;
    const std::optional<std::string> scripts = FindFolderIgnoringCase(*etmain, "scripts");
    if (!scripts) return;
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(*scripts, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && IsShaderScript(it->path().string()))
            found.push_back(it->path().string());
    }
    SortByFileName(found);
    for (const std::string& path : found) {
        const std::string name = fs::path(path).filename().string();
        if (Indexed(indexes_.game, name)) continue;
        TETShader entry;
        entry.pak = 0;
        entry.fileName = name;
        entry.path = path;
        AppendScript(indexes_.game, std::move(entry), report.problems);
    }
}

void TGameAssets::IndexPakScripts(int pakNr, TShaderScanReport& report) {
    const TStrObject& pak = paks_[pakNr];
    TExtractReport extracted;
    try {
        const TPK3Archive archive(pak.path);
        extracted = archive.Extract("scripts/*.shader", pak.extractDir);
    } catch (const FileError& e) {
        report.problems.push_back(e.what());
        return;
    }
    for (std::string& problem : extracted.problems)
        report.problems.push_back(std::move(problem));
    // Only what this archive just gave: its folder may hold scripts of an archive that had
    // its number in an earlier run.
    std::vector<std::string> paths;
    for (const TExtractedFile& file : extracted.written)
        paths.push_back(file.path);
    SortByFileName(paths);
    for (const std::string& path : paths) {
        const std::string name = fs::path(path).filename().string();
        if (Indexed(indexes_.game, name)) continue;
        TETShader entry;
        entry.pak = 1;
        entry.pakNr = pakNr;
        entry.fileName = name;
        entry.path = path;
        AppendScript(indexes_.game, std::move(entry), report.problems);
    }
}

TShaderScanReport TGameAssets::ScanGameShaderFiles(const StatusFn& status, TProgress* progress) {
    TShaderScanReport report;
    if (gamePath_.empty()) return report;
    const auto steps = static_cast<std::uint64_t>(paks_.Count()) + 1;
    if (!ReportProgress(progress, 0, steps)) {
        report.cancelled = true;
        return report;
    }
    ShowStatus(status, "Checking for shader-files in game-directory...");
    IndexGameFolderScripts(report);
    // The last listed PAK first, so that its script of a name is the one indexed.
    for (int i = paks_.Count() - 1; i >= 0; --i) {
        const auto done = static_cast<std::uint64_t>(paks_.Count() - i);
        if (!ReportProgress(progress, done, steps)) {
            report.cancelled = true;
            return report;
        }
        ShowStatus(status, "Checking for shader-files in " + paks_[i].name + "...");
        IndexPakScripts(i, report);
    }
    ReportProgress(progress, steps, steps);
    report.files = GameScriptCount();
    report.names = GameShaderCount();
    ShowStatus(status, "Total shaderfiles/shaders found: " + std::to_string(report.files) + " / " +
                           std::to_string(report.names));
    return report;
}

std::vector<std::string> TGameAssets::ScanMapShaderFiles(
    const std::vector<std::string>& scriptFiles, const StatusFn& status) {
    ShowStatus(status, "Checking for shader-files in Map.pk3...");
    std::vector<std::string> problems;
    std::vector<std::string> paths;
    for (const std::string& path : scriptFiles) {
        if (IsShaderScript(path)) paths.push_back(path);
    }
    SortByFileName(paths);
    for (const std::string& path : paths) {
        const std::string name = fs::path(path).filename().string();
        if (Indexed(indexes_.mapArchive, name)) continue;
        TETShader entry;
        entry.pak = 1;
        entry.fileName = name;
        entry.path = path;
        AppendScript(indexes_.mapArchive, std::move(entry), problems);
    }
    ShowStatus(status, "");
    return problems;
}

std::vector<std::string> TGameAssets::UseMapArchive(const std::string& archivePath,
                                                    const StatusFn& status) {
    ClearMapShaderFiles();
    ForgetMapArchive();
    TExtractReport report;
    try {
        report = TPK3Archive(archivePath).Extract("scripts/*.shader", MapDir());
    } catch (const FileError& e) {
        return {e.what()};
    }
    SetMapArchive(archivePath);
    std::vector<std::string> scripts;
    for (const TExtractedFile& file : report.written)
        scripts.push_back(file.path);
    std::vector<std::string> problems = std::move(report.problems);
    for (std::string& problem : ScanMapShaderFiles(scripts, status))
        problems.push_back(std::move(problem));
    return problems;
}

std::vector<std::string> TGameAssets::RebuildShaderList(const std::vector<std::string>& files,
                                                        const StatusFn& status) {
    indexes_.shaderList.clear();
    std::vector<std::string> problems;
    for (const std::string& file : files) {
        std::error_code ec;
        if (file.empty() || !fs::is_regular_file(file, ec)) continue;
        const bool repeated =
            std::any_of(indexes_.shaderList.begin(), indexes_.shaderList.end(),
                        [&](const TETShader& entry) { return entry.path == file; });
        if (repeated) continue;
        TETShader entry;
        entry.pak = 0;
        entry.fileName = file;
        entry.path = file;
        AppendScript(indexes_.shaderList, std::move(entry), problems);
    }
    ShowStatus(status, "");
    return problems;
}
