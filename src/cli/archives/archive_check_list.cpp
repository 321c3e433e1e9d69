#include "cli/archives/archive_check_list.h"

#include "assets/pk3_archive.h"
#include "check/file_check.h"
#include "cli/check_command.h"

namespace {

std::vector<std::string> CheckableEntries(const std::string& archivePath) {
    TPK3Archive archive(archivePath);
    std::vector<std::string> names;
    for (const TArchiveEntry& entry : archive.Entries())
        if (!entry.IsFolder() && IsCheckableFile(entry.name)) names.push_back(entry.name);
    return names;
}

}  // namespace

void InstallArchiveCheckListing() {
    InstallArchiveCheckLister(&CheckableEntries);
}
