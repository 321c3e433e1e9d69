#include "cli/archives/archive_check_list.h"

#include "assets/pk3_archive.h"
#include "check/file_check.h"
#include "cli/check_command.h"

namespace {

std::vector<TExtractedCheckEntry> ExtractForCheck(const std::string& archivePath,
                                                  const std::string& wanted,
                                                  const std::string& folder) {
    TPK3Archive archive(archivePath);
    std::vector<TExtractedCheckEntry> out;
    const TArchiveEntry* wantedEntry = nullptr;
    if (!wanted.empty()) {
        wantedEntry = archive.FindEntry(wanted);
        if (wantedEntry == nullptr) {
            out.push_back(
                {wanted, "", true, "\"" + wanted + "\" is not in \"" + archivePath + "\""});
            return out;
        }
    }
    for (const TArchiveEntry& entry : archive.Entries()) {
        if (entry.IsFolder()) continue;
        const bool checkable = IsCheckableFile(entry.name);
        const bool requested = wantedEntry == nullptr ? checkable : &entry == wantedEntry;
        if (!requested && !checkable) continue;
        // What the game pairs an entry with (a skin's model, an .mdx's .aninc) lies in its
        // folder, so one entry brings its folder's checkable neighbours along.
        if (!requested && entry.Folder() != wantedEntry->Folder()) continue;
        TExtractReport report = archive.ExtractEntry(entry, folder);
        TExtractedCheckEntry extracted{entry.name, "", requested, ""};
        if (!report.written.empty()) extracted.file = report.written.front().path;
        if (extracted.file.empty())
            extracted.error = report.problems.empty() ? "\"" + entry.name + "\" could not be read"
                                                      : report.problems.front();
        out.push_back(std::move(extracted));
    }
    return out;
}

}  // namespace

void InstallArchiveCheckListing() {
    InstallArchiveCheckExtractor(&ExtractForCheck);
}
