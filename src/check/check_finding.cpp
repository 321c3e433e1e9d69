#include "check/check_finding.h"

#include <sstream>

std::string FindingText(const TCheckFinding& finding) {
    std::ostringstream text;
    if (!finding.where.empty()) text << finding.where << ": ";
    text << finding.what;
    if (finding.counted) text << ' ' << finding.value << " (limit " << finding.limit << ')';
    return text.str();
}
