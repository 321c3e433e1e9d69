#include "cli/model_source.h"

#include "assets/archive_entry_ref.h"
#include "assets/model_file_names.h"
#include "cli/cli_error.h"
#include "io/scratch_folder.h"

namespace {

TArchiveEntryExtractor installedExtractor = nullptr;

// `reason`, given for `named`, as it reads for `other`: a second candidate missing for the
// same reason is then named, not its sentence repeated.
std::string SameReasonFor(std::string reason, const std::string& named, const std::string& other) {
    const std::size_t at = reason.find('"' + named + '"');
    if (at != std::string::npos) reason.replace(at + 1, named.size(), other);
    return reason;
}

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

TModelSource::TModelSource(const std::string& argument, int level) : file_(argument) {
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(argument);
    const std::string cannot =
        "Cannot load " + (level > 0 ? "level " + std::to_string(level) + " of " : std::string()) +
        "\"" + argument + "\": ";
    const char* const noLevels = "it is not a model with levels of detail";
    if (!ref) {
        if (level == 0) return;
        const std::vector<std::string> tried = ModelFileCandidates(argument, level);
        if (tried.empty()) throw CliError(cannot + noLevels);
        file_ = FindModelFile(argument, &FindFileOnDisk, level);
        if (file_.empty()) throw CliError(cannot + "there is no " + CandidateListText(tried));
        return;
    }
    if (installedExtractor == nullptr) throw CliError(cannot + "this program reads no archives");
    scratch_ = std::make_unique<TScratchFolder>("veldra-cli-");
    const std::vector<std::string> tried = ModelFileCandidates(ref->entry, level);
    std::string errors, firstError;
    for (const std::string& entry : tried) {
        std::string error;
        file_ = installedExtractor(ref->archive, entry, scratch_->Path(), error);
        if (!file_.empty()) return;
        if (errors.empty()) {
            errors = firstError = error;
        } else if (error == SameReasonFor(firstError, tried.front(), entry)) {
            errors += ", nor \"" + entry + "\"";
        } else {
            errors += "; " + error;
        }
    }
    // Thrown from here, the scratch folder goes with the member that holds it.
    if (tried.empty()) errors = noLevels;
    throw CliError(cannot + errors);
}

TModelSource::~TModelSource() = default;
