// Model arguments name a file or an entry of an archive ("maps/x.pk3:models/a/b.md3"). An
// entry is read from a copy extracted to a scratch folder for as long as its TModelSource
// lives. Reading archives needs libzip, which veldra-cli (linked without shared libraries)
// goes without: the programs that have it install their extraction, and veldra-cli hands
// commands with archive entries to its archive companion.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TScratchFolder;

// Writes `entry` of `archive` below `folder` and returns the file written; empty with the
// reason in `error` when it cannot.
using TArchiveEntryExtractor = std::string (*)(const std::string& archive, const std::string& entry,
                                               const std::string& folder, std::string& error);

void InstallArchiveEntryExtractor(TArchiveEntryExtractor extractor);
bool ReadsArchives();

// Whether an argument names an archive entry rather than a file.
bool NamesArchiveEntry(const std::string& argument);
bool AnyNamesArchiveEntry(const std::vector<std::string>& arguments);

class TModelSource {
  public:
    // A file is taken as it is; an archive entry is extracted, a model's as the game finds it
    // (ModelFileCandidates: "X.mdc" when the archive has no "X.md3"). A `level` above 0 is
    // that lower level of detail of a model, beside the file or in the same archive. Throws
    // CliError ("Cannot load "<argument>": <reason>") when the entry or level cannot be had.
    explicit TModelSource(const std::string& argument, int level = 0);
    ~TModelSource();
    TModelSource(const TModelSource&) = delete;
    TModelSource& operator=(const TModelSource&) = delete;

    // The file the loaders read.
    const std::string& File() const { return file_; }

  private:
    std::string file_;
    std::unique_ptr<TScratchFolder> scratch_;  // removed with the object
};
