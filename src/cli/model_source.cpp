#include "cli/model_source.h"

#include "assets/archive_entry_ref.h"
#include "cli/cli_error.h"
#include "io/scratch_folder.h"

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
    scratch_ = std::make_unique<TScratchFolder>("veldra-cli-");
    std::string error;
    file_ = installedExtractor(ref->archive, ref->entry, scratch_->Path(), error);
    // Thrown from here, the scratch folder goes with the member that holds it.
    if (file_.empty()) throw CliError("Cannot load \"" + argument + "\": " + error);
}

TModelSource::~TModelSource() = default;
