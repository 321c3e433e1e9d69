// `veldra-cli check`: whether a game engine accepts models, tag files, skins, animation lists
// and shader scripts, or every such file of an archive.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "check/check_finding.h"

inline constexpr int kExitViolations = 2;

struct TCheckArguments {
    std::vector<std::string> files;
    std::string engine = "et";
    bool json = false;
    std::string game;  // with it, shader scripts' images are looked for in the game
};

CLI::App* AddCheckCommand(CLI::App& app, TCheckArguments& arguments);

// The checkable entries of an archive in archive order. Throws FileError when the archive
// cannot be read. Installed by the program that reads archives.
using TArchiveCheckLister = std::vector<std::string> (*)(const std::string& archive);
void InstallArchiveCheckLister(TArchiveCheckLister lister);

// The findings for the images a shader script names that the game in `gameDir` lacks.
// Throws FileError when the script cannot be read. Installed by the program that reads
// archives.
using TShaderImageChecker = TCheckFindings (*)(const std::string& scriptFile,
                                               const std::string& gameDir);
void InstallShaderImageChecker(TShaderImageChecker checker);

// Whether the arguments name archives or archive entries, which need the archive reader.
bool CheckNeedsArchives(const TCheckArguments& arguments);

// Prints the findings of every file; an archive stands for all its checkable entries.
// Returns 1 when a file could not be read, else 2 when there are findings, else 0.
int RunCheck(const TCheckArguments& arguments, std::ostream& out, std::ostream& err);
