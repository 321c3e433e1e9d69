// `veldra-cli check`: whether a game engine accepts models, tag files, skins, animation lists
// and shader scripts, or every such file of an archive.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitViolations = 2;

struct TCheckArguments {
    std::vector<std::string> files;
    std::string engine = "et";
    bool json = false;
};

CLI::App* AddCheckCommand(CLI::App& app, TCheckArguments& arguments);

// The checkable entries of an archive in archive order. Throws FileError when the archive
// cannot be read. Installed by the program that reads archives.
using TArchiveCheckLister = std::vector<std::string> (*)(const std::string& archive);
void InstallArchiveCheckLister(TArchiveCheckLister lister);

// Whether the arguments name archives or archive entries, which need the archive reader.
bool CheckNeedsArchives(const std::vector<std::string>& files);

// Prints the findings of every file; an archive stands for all its checkable entries.
// Returns 1 when a file could not be read, else 2 when there are findings, else 0.
int RunCheck(const TCheckArguments& arguments, std::ostream& out, std::ostream& err);
