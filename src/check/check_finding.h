// One thing a game would refuse or break on, with the value found, the bound it broke and
// where in the file it sits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TCheckFinding {
    std::string what;  // e.g. "vertices on a surface"
    std::int64_t value = 0;
    std::int64_t limit = 0;
    std::string where;  // e.g. "surface 2 \"body\"", empty for the whole file
    // False for findings without a count, such as a format the engine does not read.
    bool counted = true;
};

using TCheckFindings = std::vector<TCheckFinding>;

// "where: what value (limit N)", the line the CLI and the dialog show.
std::string FindingText(const TCheckFinding& finding);

// Adds `from` to `to`, each finding's place put after `place` ("mesh surface 0 ...").
void AppendFindings(TCheckFindings& to, TCheckFindings from, const std::string& place);
