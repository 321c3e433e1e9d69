// Where each entry's bytes lie inside a ZIP archive, read from its central directory. libzip
// does not tell, yet it is what gives away the overlap bomb: many directory records pointing
// at one small deflated stream, so that a 200 KB archive expands to gigabytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Bytes [begin, end) of one entry: its local header and its compressed data. The local
// header's name and extra field are left out, so the span never reaches into the next entry
// of a well-formed archive.
struct TZipEntrySpan {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

// Reads `bytes` at `offset` of the archive; false when they are not all there.
using ZipByteReader = std::function<bool(std::uint64_t offset, void* out, std::size_t bytes)>;

// The spans of the `entryCount` entries of the central directory, in directory order (the
// order of libzip's indexes). Empty when no end record leads to a directory of exactly that
// many entries.
std::optional<std::vector<TZipEntrySpan>> ReadZipEntrySpans(const ZipByteReader& read,
                                                            std::uint64_t archiveSize,
                                                            std::uint64_t entryCount);

// For each span the index of another it shares bytes with, or -1. Only spans with
// `considered` set take part (folder entries hold no data worth a check).
std::vector<std::int64_t> OverlappingSpans(const std::vector<TZipEntrySpan>& spans,
                                           const std::vector<bool>& considered);
