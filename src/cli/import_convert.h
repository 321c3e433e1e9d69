// `veldra-cli convert IN.ms3d|IN.ase OUT.md3`: the importers without anyone to ask.
#pragma once

#include <iostream>
#include <string>

class TMD3;

// Whether `convert` reads this file with an importer (by extension, without regard to case).
bool IsImportedModel(const std::string& path);

// Converts an imported model into an MD3 file. A model beyond the MD3 coordinate range is
// refused unless `scaleToFit` answers the bounds question Yes. What the conversion left out or
// scaled is shown on `warnings`; a refusal throws CliError with the importer's message.
// The conversion alone, into `model`; refusals throw CliError as above.
void ImportToMD3(const std::string& input, TMD3& model, bool scaleToFit, std::ostream& warnings);

int RunImportConvert(const std::string& input, const std::string& output, bool scaleToFit,
                     std::ostream& warnings = std::cerr);
