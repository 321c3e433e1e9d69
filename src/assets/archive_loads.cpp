#include "assets/archive_loads.h"

#include "assets/pk3_archive.h"
#include "io/file_error.h"

namespace {

void AddProblems(std::vector<std::string>& to, std::vector<std::string> from) {
    for (std::string& problem : from)
        to.push_back(std::move(problem));
}

std::string NotFound(const std::string& entryPath, const std::string& where) {
    return "\"" + entryPath + "\" is not in " + where;
}

TModelLoad ReadExtracted(TMD3& model, TEntryExtraction extraction, const std::string& where,
                         const std::string& entryPath) {
    TModelLoad load;
    load.problems = std::move(extraction.problems);
    if (!extraction.ok()) {
        load.error = load.problems.empty() ? NotFound(entryPath, where) : load.problems.back();
        return load;
    }
    load.file = extraction.path;
    load.ok = model.LoadFromFile(load.file);
    if (!load.ok) load.error = model.LastError();
    return load;
}

}  // namespace

TEntryExtraction ExtractFromArchive(const std::string& archivePath, const std::string& entryPath,
                                    const std::string& targetRoot) {
    TEntryExtraction extraction;
    try {
        const TPK3Archive archive(archivePath);
        const TArchiveEntry* entry = archive.FindEntry(entryPath);
        if (entry == nullptr) return extraction;
        TExtractReport report = archive.ExtractEntry(*entry, targetRoot);
        if (!report.written.empty()) extraction.path = report.written.front().path;
        AddProblems(extraction.problems, std::move(report.problems));
    } catch (const FileError& e) {
        extraction.problems.push_back(e.what());
    }
    return extraction;
}

TEntryExtraction ExtractFromGamePaks(const TPakList& paks, const std::string& entryPath,
                                     const std::string& targetRoot) {
    TEntryExtraction result;
    for (const TStrObject& pak : paks.SearchOrder()) {
        TEntryExtraction one = ExtractFromArchive(pak.path, entryPath, targetRoot);
        AddProblems(result.problems, std::move(one.problems));
        if (one.ok()) {
            result.path = one.path;
            break;
        }
    }
    return result;
}

TModelLoad LoadMD3FromGame(TMD3& model, const TGameAssets& assets, const std::string& entryPath) {
    return ReadExtracted(model, ExtractFromGamePaks(assets.Paks(), entryPath, assets.TmpDir()),
                         "any game PAK", entryPath);
}

TModelLoad LoadMD3FromMapArchive(TMD3& model, TGameAssets& assets, const std::string& archivePath,
                                 const std::string& entryPath, const StatusFn& status) {
    std::vector<std::string> problems = assets.UseMapArchive(archivePath, status);
    TEntryExtraction extraction = ExtractFromArchive(archivePath, entryPath, assets.MapDir());
    AddProblems(problems, std::move(extraction.problems));
    extraction.problems = std::move(problems);
    return ReadExtracted(model, std::move(extraction), "\"" + archivePath + "\"", entryPath);
}
