// One thing a game would refuse or break on, with the value found, the bound it broke and
// where in the file it sits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An error is something the engine refuses, overruns or draws wrongly; a warning is a bound
// the engine's headers declare but its loader never enforces, so the game still takes it.
enum class TSeverity { Error, Warning };

struct TCheckFinding {
    std::string what;  // e.g. "vertices on a surface"
    std::int64_t value = 0;
    std::int64_t limit = 0;
    std::string where;  // e.g. "surface 2 \"body\"", empty for the whole file
    // False for findings without a count, such as a format the engine does not read.
    bool counted = true;
    TSeverity severity = TSeverity::Error;
};

using TCheckFindings = std::vector<TCheckFinding>;

// "where: what value (limit N)", the line the CLI and the dialog show; a warning starts with
// "warning: " so that the dialog, which lists both, tells them apart.
std::string FindingText(const TCheckFinding& finding);

// "error" or "warning".
const char* SeverityName(TSeverity severity);

bool HasErrors(const TCheckFindings& findings);

// Adds `from` to `to`, each finding's place put after `place` ("mesh surface 0 ...").
void AppendFindings(TCheckFindings& to, TCheckFindings from, const std::string& place);
