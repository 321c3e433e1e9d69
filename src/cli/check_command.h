// `veldra-cli check`: whether a game engine accepts models, tag files, skins, animation lists
// and shader scripts, or every such file of an archive.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "check/check_finding.h"

// Findings of severity error; 1 stays "a file could not be read" and 2 "usage".
inline constexpr int kExitCheckErrors = 3;

struct TCheckArguments {
    std::vector<std::string> files;
    std::string engine = "et";
    bool json = false;
    std::string game;  // with it, shader scripts' images are looked for in the game
};

CLI::App* AddCheckCommand(CLI::App& app, TCheckArguments& arguments);

struct TExtractedCheckEntry {
    std::string entry;  // the name stored in the archive
    std::string file;   // the extracted copy; empty when it could not be had
    bool requested;     // false for an entry taken out only to be paired with one requested
    std::string error;  // why `file` is empty
};

// Extracts into `folder`, keeping their paths, the checkable entries of `archive` in archive
// order: all of them when `entry` is empty, else that entry and the checkable entries of its
// folder, which the game may pair with it. Throws FileError when the archive cannot be read.
// Installed by the program that reads archives.
using TArchiveCheckExtractor = std::vector<TExtractedCheckEntry> (*)(const std::string& archive,
                                                                     const std::string& entry,
                                                                     const std::string& folder);
void InstallArchiveCheckExtractor(TArchiveCheckExtractor extractor);

// The findings for the images a shader script names that the game in `gameDir` lacks.
// Throws FileError when the script cannot be read. Installed by the program that reads
// archives.
using TShaderImageChecker = TCheckFindings (*)(const std::string& scriptFile,
                                               const std::string& gameDir);
void InstallShaderImageChecker(TShaderImageChecker checker);

// Whether the arguments name archives or archive entries, which need the archive reader.
bool CheckNeedsArchives(const TCheckArguments& arguments);

// Prints the findings of every file; an archive stands for all its checkable entries. With
// --json one document is printed whatever happens. Returns 1 when a file could not be read,
// else kExitCheckErrors when a finding is an error, else 0 (warnings alone pass).
int RunCheck(const TCheckArguments& arguments, std::ostream& out, std::ostream& err);
