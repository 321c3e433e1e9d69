// Archives built with libzip at test time, and the hand edits that make them hostile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
    std::string name;
    std::string data;
    bool store = false;  // stored instead of deflated
};

void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries);

// Rewrites the uncompressed size an entry states, in its local and its central header.
void PatchStatedSize(const std::string& path, const std::string& entryName, std::uint32_t size);
// Flips a byte in the middle of an entry's data.
void CorruptEntryData(const std::string& path, const std::string& entryName);

// Adds a central-directory record named `newName` that points `shift` bytes past the local
// header of `entryName`: with 0 both share one stream, the overlap bomb's trick.
void AddAliasRecord(const std::string& path, const std::string& entryName,
                    const std::string& newName, std::uint32_t shift = 0);

// The contents of a sample file, or of a file made by the test.
std::string FileText(const std::string& path);

}  // namespace testing_support
