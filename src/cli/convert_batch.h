// `veldra-cli convert IN OUT`, or `convert IN... --out-dir DIR`: every input converted into
// the folder under its own file name, models keeping their kind and imported models and
// maps becoming .md3.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/convert_command.h"

// The file name an input is converted to in an output folder: "a/b.map" gives "b.md3",
// "pak0.pk3:models/x.MDM" gives "x.mdm".
std::string ConvertedFileName(const std::string& input);

// Without `outDir` exactly IN and OUT (UsageError otherwise). With it, a failed input is one
// line on `err` and the others are converted still; exit code 1 when any failed. An output
// that would replace its input or another input's output is refused.
int RunConvertFiles(const std::vector<std::string>& files, const std::string& outDir,
                    std::ostream& err, const TConvertOptions& options);
