#include "check/check_finding.h"

#include <algorithm>
#include <sstream>
#include <utility>

std::string FindingText(const TCheckFinding& finding) {
    std::ostringstream text;
    if (finding.severity == TSeverity::Warning) text << "warning: ";
    if (!finding.where.empty()) text << finding.where << ": ";
    text << finding.what;
    if (finding.counted) text << ' ' << finding.value << " (limit " << finding.limit << ')';
    return text.str();
}

const char* SeverityName(TSeverity severity) {
    return severity == TSeverity::Warning ? "warning" : "error";
}

bool HasErrors(const TCheckFindings& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const TCheckFinding& f) { return f.severity == TSeverity::Error; });
}

void AppendFindings(TCheckFindings& to, TCheckFindings from, const std::string& place) {
    for (TCheckFinding& f : from) {
        if (!place.empty()) f.where = f.where.empty() ? place : place + " " + f.where;
        to.push_back(std::move(f));
    }
}
