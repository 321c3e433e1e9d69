#include "assets/archive_extraction.h"

void TExtractReport::Append(TExtractReport other) {
    for (TExtractedFile& file : other.written)
        written.push_back(std::move(file));
    for (std::string& problem : other.problems)
        problems.push_back(std::move(problem));
}

std::string RefusedEntryMessage(const std::string& archive, const std::string& entry,
                                const std::string& reason) {
    return "Refused entry \"" + entry + "\" in \"" + archive + "\": " + reason;
}

std::string DamagedEntryMessage(const std::string& archive, const std::string& entry,
                                const std::string& reason) {
    return "Damaged entry \"" + entry + "\" in \"" + archive + "\": " + reason;
}

std::string UnwritableEntryMessage(const std::string& archive, const std::string& entry,
                                   const std::string& reason) {
    return "Cannot extract \"" + entry + "\" from \"" + archive + "\": " + reason;
}
