// Parsing one shader out of a prepared, lower-cased script into its drawing stages.
#pragma once

#include <string>
#include <vector>

#include "shader/shader_stage.h"

// Finds the shader's name line (exactly `name`; failing that `altName`, also with its
// backslashes turned into slashes) and returns its stages; empty when the name or its
// opening brace is not there. The stages' shader name is the name that matched, so a match
// through `altName` stores `altName` as written.
std::vector<TShaderTexture> ParseShader(const std::vector<std::string>& lines,
                                        const std::string& name, const std::string& altName);
