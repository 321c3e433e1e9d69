// The lower levels of detail the game loads with a vertex model ("X_1", "X_2" beside "X",
// see model_file_names.h), measured against the model. The game draws a level with the skin
// and animation meant for level 0: a surface the skin does not name there gets no shader, a
// frame the level lacks shows as its frame 0, and a level of another kind than level 0's, or
// one missing below a lower one, is drawn from nothing.
#pragma once

#include <string>

#include "check/check_finding.h"

class TMD3;

// Findings for the levels found beside `modelPath`, whose level 0 is `model` (read at least
// as layout). Nothing when the model has no lower levels.
TCheckFindings CheckModelLevels(const std::string& modelPath, const TMD3& model);
