// The lower levels of detail the game loads with a vertex model ("X_1", "X_2" beside "X",
// see model_file_names.h), measured against the model. The game draws a level with the skin
// and animation meant for level 0: a surface the skin does not name there gets no shader, a
// frame the level lacks shows as its frame 0, and a level of another kind than level 0's, or
// one missing below a lower one, is drawn from nothing.
#pragma once

#include <string>
#include <vector>

#include "assets/model_file_names.h"
#include "check/check_finding.h"

class TMD3;

// Findings for the lower levels `levels` (see FindLowerModelLevels) of `model` (read at least
// as layout) from the local file `modelFile`. Nothing when there are no lower levels.
TCheckFindings CheckModelLevels(const TMD3& model, const std::string& modelFile,
                                const std::vector<TModelLevelFile>& levels);

// The same for the levels found beside the file `modelPath`.
TCheckFindings CheckModelLevelsBeside(const std::string& modelPath, const TMD3& model);
