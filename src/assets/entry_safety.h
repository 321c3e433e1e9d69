// What an archive entry must satisfy before any byte of it is written to disk. Archives come
// from anywhere (map downloads, mods), so their names and sizes are hostile until checked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// No file of any game comes near this; a bigger entry is a bomb or a broken directory.
inline constexpr std::uint64_t kMaxEntryBytes = 512ull * 1024 * 1024;
// What one extraction may write in all. The largest game archives expand to well under a
// gigabyte; more is a bomb made of many entries each below the bounds of one.
inline constexpr std::uint64_t kMaxExtractionBytes = 4ull * 1024 * 1024 * 1024;
// Deflate cannot shrink data by more than about 1032:1, so a larger stated ratio cannot be
// genuine. Flat mask images do reach about 1000:1, so the bound sits just above that.
inline constexpr std::uint64_t kMaxCompressionRatio = 1100;
// Below this even a stated ratio far off the mark cannot hurt.
inline constexpr std::uint64_t kRatioCheckFromBytes = 1024 * 1024;

struct TSafeEntryPath {
    std::string path;     // relative, '/'-separated, without "." or empty components
    std::string problem;  // why the name cannot be written; empty when `path` is usable
};

// The relative path an entry is written to inside its target folder. Refused: absolute
// names, drive letters, ".." components (with either separator) and names that name no file.
TSafeEntryPath SafeEntryPath(std::string_view entryName);

// Why an entry of this stated size cannot be extracted, or an empty text.
std::string EntrySizeProblem(std::uint64_t size, std::uint64_t compressedSize, bool stored);
