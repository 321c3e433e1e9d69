// `veldra-cli convert IN OUT.glb|OUT.gltf`: MD3 and MDC models, players (MDM with --mdx) and
// characters (.char) as glTF, textured from the game data when --game names it.
#pragma once

#include <ostream>
#include <string>

#include "cli/convert_command.h"

// Throws UsageError for options that do not fit the input, CliError or FileError for files
// that cannot be read or written. What the export changed on the way goes to `warnings`.
int RunGltfExport(const std::string& input, const std::string& output,
                  const TConvertOptions& options, std::ostream& warnings);

// Makes RunConvert hand glTF outputs to RunGltfExport.
void InstallGltfExport();
