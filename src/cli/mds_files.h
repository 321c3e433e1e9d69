// MDS models for veldra-cli: `info` describes them, and `convert MODEL.mds OUT.mdm` writes the
// MDM mesh and, beside it with the same name, the MDX animation they convert to.
#pragma once

#include <ostream>
#include <string>

#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// By the extension .mds, or for any other name by the identifier MDSW.
bool IsMDSFile(const std::string& path);

// The MDS model as the mesh and the animation it converts to, for `render` and `bake`; what the
// conversion could not carry over exactly is reported on `warnings`. Throws CliError or
// FileError when the file cannot be read.
void LoadMDSAsPairOrThrow(const std::string& path, TMDM& mesh, TMDX& anim, std::ostream& warnings);

// Throws CliError or FileError when the file cannot be read.
void DescribeMDS(const std::string& path, bool json, std::ostream& out);

// Writes OUT (.mdm) and OUT with the extension .mdx; what the conversion could not carry over
// exactly is reported on `warnings`. Throws UsageError for an output that is not .mdm,
// CliError or FileError when a file cannot be read or written.
int ConvertMDSFile(const std::string& input, const std::string& output, std::ostream& warnings);
