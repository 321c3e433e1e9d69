// Checks files by their extension: models (.md3, .mdm, .mdx, .mds), tag files, skins,
// animation lists (.aninc), shader scripts and character definitions (.char).
#pragma once

#include <string>
#include <vector>

#include "check/check_finding.h"
#include "check/engine_limits.h"

struct TFileCheck {
    std::string file;
    TCheckFindings findings;
    std::string error;  // why the file could not be read; then the findings are empty
};

// Where a check finds what a file names besides the folders around it.
struct TCheckSources {
    std::string gameDir;  // a game folder (its etmain, then its PAKs)
    std::string archive;  // the archive a checked entry was taken from; its entries win
};

// Checks each file. Files are paired as the game pairs them: a skin with the model beside it
// that it belongs to by the game's naming rule ("body.mdm" for "body_axis.skin"), an .aninc
// with the .mdx beside it and an .mdx with the .aninc beside it (unless that .aninc is among
// `paths` and so checked itself).
std::vector<TFileCheck> CheckFiles(const std::vector<std::string>& paths,
                                   const TEngineLimits& limits, const TCheckSources& sources = {});

// Whether CheckFiles knows the file's extension (character definitions aside: they name
// files in the game, which an archive's copy cannot find).
bool IsCheckableFile(const std::string& path);

// Character definitions (.char) are checked by the programs that read archives, which
// install the check; elsewhere such a file cannot be checked.
using TCharacterChecker = bool (*)(const std::string& charFile, const TCheckSources& sources,
                                   const TEngineLimits& limits, TCheckFindings& findings,
                                   std::string& error);
void InstallCharacterCheck(TCharacterChecker checker);
