// `veldra-cli convert IN.map OUT.md3 [--scale-to-fit] [--game DIR]`: a Radiant map's
// worldspawn brushes as a one-frame MD3 model, without questions.
#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "import/level_map.h"

class TMD3;

struct TMapConvertOptions {
    // Answers Yes to scaling a map larger than MD3 positions reach; otherwise it is refused.
    bool scaleToFit = false;
    // The game folder whose data gives texture sizes; without it every texture is 256 x 256.
    std::string gameDir;
};

// Makes the texture-size lookup over a game folder's data for a map in `mapDir`; the lookup
// keeps what it needs alive. `problems` gets what could not be read. Installed by the
// program that reads archives.
using TMapTextureSizesMaker = TTextureSizeLookup (*)(const std::string& gameDir,
                                                     const std::string& mapDir,
                                                     std::vector<std::string>& problems);
void InstallMapTextureSizes(TMapTextureSizesMaker maker);

bool IsMapFile(const std::string& path);

// Converts and writes; throws CliError with the limit or bounds message when the map cannot
// be converted. Patches and brushes left out are reported on `warnings`.
// The conversion alone, into `model`; refusals throw CliError as below.
void MapToMD3(const std::string& input, TMD3& model, const TMapConvertOptions& options,
              std::ostream& warnings);

int RunMapConvert(const std::string& input, const std::string& output,
                  const TMapConvertOptions& options, std::ostream& warnings = std::cerr);
