// `veldra-cli convert IN.map OUT.md3 [--scale-to-fit] [--split-surfaces] [--game DIR]`: a
// Radiant map's world brushes and patches as a one-frame MD3 model, without questions.
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
    // Answers Yes to splitting a surface past the MD3 limits; otherwise it is refused.
    bool splitSurfaces = false;
};

// Makes the texture-size lookup over a game folder's data for a map in `mapDir`; the lookup
// keeps what it needs alive. `problems` gets what could not be read. Installed by the
// program that reads archives.
using TMapTextureSizesMaker = TTextureSizeLookup (*)(const std::string& gameDir,
                                                     const std::string& mapDir,
                                                     std::vector<std::string>& problems);
void InstallMapTextureSizes(TMapTextureSizesMaker maker);

bool IsMapFile(const std::string& path);

// The conversion alone, into `model`; throws CliError with the reason (nothing to convert, a
// limit, the bounds) when the map cannot be converted. What was left out is reported on
// `warnings`, each line naming the file.
void MapToMD3(const std::string& input, TMD3& model, const TMapConvertOptions& options,
              std::ostream& warnings);

int RunMapConvert(const std::string& input, const std::string& output,
                  const TMapConvertOptions& options, std::ostream& warnings = std::cerr);
