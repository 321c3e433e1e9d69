#include "assets/image_search.h"

#include <algorithm>

#include "assets/archive_names.h"
#include "assets/game_file_name.h"
#include "assets/game_path.h"
#include "assets/pk3_archive.h"
#include "io/file_error.h"
#include "io/path_case.h"
#include "shader/shader_flags.h"

std::vector<std::string> ImageNameCandidates(std::string_view name) {
    const std::optional<std::string> gameName = GameFileName(name);
    if (!gameName) return {};
    std::vector<std::string> candidates{*gameName};
    for (const char* extension : {".tga", ".jpg", ".bmp"}) {
        std::string candidate = WithExtension(candidates.front(), extension);
        if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end())
            candidates.push_back(std::move(candidate));
    }
    return candidates;
}

std::optional<TImageHit> FindInGameFolder(const std::vector<std::string>& candidates,
                                          const TGameAssets& assets) {
    const std::optional<std::string> etmain = GameEtmainFolder(assets.GamePath());
    if (!etmain) return std::nullopt;
    for (const std::string& candidate : candidates) {
        if (auto found = FindFileIgnoringCase(*etmain + candidate))
            return TImageHit{candidate, *found, kShaderImageFound | kShaderFoundInGame};
    }
    return std::nullopt;
}

std::optional<TImageHit> ExtractFirstFound(const std::string& archivePath,
                                           const std::vector<std::string>& candidates,
                                           const std::string& targetRoot,
                                           std::vector<std::string>& problems) {
    try {
        const TPK3Archive archive(archivePath);
        for (const std::string& candidate : candidates) {
            const TArchiveEntry* entry = archive.FindEntry(candidate);
            if (entry == nullptr) continue;
            TExtractReport report = archive.ExtractEntry(*entry, targetRoot);
            for (std::string& problem : report.problems)
                problems.push_back(std::move(problem));
            if (!report.written.empty())
                return TImageHit{candidate, report.written.front().path, kShaderImageFound};
        }
    } catch (const FileError& e) {
        problems.push_back(e.what());
    }
    return std::nullopt;
}

std::optional<TImageHit> FindSurfaceImage(const std::string& shaderName, const TGameAssets& assets,
                                          const TModelOrigin& origin,
                                          std::vector<std::string>& problems) {
    if (shaderName.empty()) return std::nullopt;
    const std::vector<std::string> candidates = ImageNameCandidates(shaderName);
    if (origin.loadedFromFile && !origin.modelDir.empty()) {
        std::string folder = origin.modelDir;
        if (folder.back() != '/') folder += '/';
        for (const std::string& candidate : candidates) {
            if (auto found = FindFileIgnoringCase(folder + std::string(FileNamePart(candidate))))
                return TImageHit{candidate, *found, kShaderImageFound};
        }
    }
    if (!assets.MapArchive().empty()) {
        if (auto hit =
                ExtractFirstFound(assets.MapArchive(), candidates, assets.MapDir(), problems)) {
            hit->flags |= kShaderFoundInArchive;
            return hit;
        }
    }
    for (const TStrObject& pak : assets.Paks().SearchOrder()) {
        if (auto hit = ExtractFirstFound(pak.path, candidates, pak.extractDir, problems)) {
            hit->flags |= kShaderFoundInGame | kShaderFoundInArchive;
            return hit;
        }
    }
    return FindInGameFolder(candidates, assets);
}
