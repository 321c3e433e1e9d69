// The checks of a character definition (.char) and everything it names: the mesh, every
// animation file of its group against its entries and the mesh's bones, the body skin
// against the mesh's surfaces, and the head and accessories with the tags they hang on.
// Reading a character may take files out of game archives, so only the programs that read
// archives have it.
#pragma once

#include <string>

#include "check/check_finding.h"
#include "check/engine_limits.h"
#include "check/file_check.h"

// Findings for `charFile`, its files looked up as the window looks them up: in the sources
// (the archive it came from, the game), then under the folders that hold it. False, with the
// reason in `error`, when the definition itself cannot be read.
bool CheckCharacter(const std::string& charFile, const TCheckSources& sources,
                    const TEngineLimits& limits, TCheckFindings& findings, std::string& error);
