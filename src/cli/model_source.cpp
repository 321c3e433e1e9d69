#include "cli/model_source.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "assets/archive_entry_ref.h"
#include "cli/cli_error.h"
#include "io/file_error.h"

namespace fs = std::filesystem;

namespace {

TArchiveEntryExtractor installedExtractor = nullptr;

}  // namespace

void InstallArchiveEntryExtractor(TArchiveEntryExtractor extractor) {
    installedExtractor = extractor;
}

bool ReadsArchives() {
    return installedExtractor != nullptr;
}

bool NamesArchiveEntry(const std::string& argument) {
    return SplitArchiveEntryRef(argument).has_value();
}

bool AnyNamesArchiveEntry(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (NamesArchiveEntry(argument)) return true;
    }
    return false;
}

TModelSource::TModelSource(const std::string& argument) : file_(argument) {
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(argument);
    if (!ref) return;
    if (installedExtractor == nullptr)
        throw CliError("Cannot load \"" + argument + "\": this program reads no archives");
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "veldra-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw FileError::CannotCreate(pattern, errno);
    scratch_ = pattern;
    std::string error;
    file_ = installedExtractor(ref->archive, ref->entry, scratch_, error);
    if (file_.empty()) {
        fs::remove_all(scratch_, ec);
        throw CliError("Cannot load \"" + argument + "\": " + error);
    }
}

TModelSource::~TModelSource() {
    std::error_code ec;
    if (!scratch_.empty()) fs::remove_all(scratch_, ec);
}
