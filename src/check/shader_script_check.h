// Checks of a shader script's text: names the game cuts short, shaders with more stages than
// it draws, and braces that do not close (the game's parser then swallows what follows).
#pragma once

#include <string_view>

#include "check/check_finding.h"
#include "check/engine_limits.h"

TCheckFindings CheckShaderScript(std::string_view text, const TEngineLimits& limits);
