// Checks of a shader script's text: names the game cuts short, shaders with more stages than
// it draws, and braces that do not close (the game's parser then swallows what follows).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_finding.h"
#include "check/engine_limits.h"

TCheckFindings CheckShaderScript(std::string_view text, const TEngineLimits& limits);

struct TShaderOutline {
    std::string name;
    std::int64_t stages = 0;
};

// The shaders a script defines in script order, each with its number of stages, read as the
// check reads them.
std::vector<TShaderOutline> OutlineShaderScript(std::string_view text);
