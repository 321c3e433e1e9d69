// What an extraction did: the files it wrote and, one line each, the entries it did not.
#pragma once

#include <string>
#include <vector>

struct TExtractedFile {
    std::string entryName;  // as stored, with '/' separators
    std::string path;       // the file written
};

struct TExtractReport {
    std::vector<TExtractedFile> written;
    // One message per entry that was refused or could not be written; each names the
    // archive and the entry.
    std::vector<std::string> problems;

    bool ok() const { return problems.empty(); }
    void Append(TExtractReport other);
};

// The texts of those messages.
std::string RefusedEntryMessage(const std::string& archive, const std::string& entry,
                                const std::string& reason);
std::string DamagedEntryMessage(const std::string& archive, const std::string& entry,
                                const std::string& reason);
std::string UnwritableEntryMessage(const std::string& archive, const std::string& entry,
                                   const std::string& reason);
