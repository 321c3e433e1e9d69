#include "assets/zip_entry_spans.h"

#include <algorithm>
#include <cstring>

#include "io/little_endian.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kEnd64Signature = 0x06064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kEndBytes = 22;
constexpr std::size_t kEnd64LocatorBytes = 20;
constexpr std::size_t kEnd64Bytes = 56;
constexpr std::size_t kCentralBytes = 46;
constexpr std::uint64_t kLocalHeaderBytes = 30;
constexpr std::size_t kMaxCommentBytes = 0xffff;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

struct Directory {
    std::uint64_t entries = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
};

// The directory an end record at `at` describes, with the ZIP64 record in front of it when
// one of its fields overflowed.
std::optional<Directory> DirectoryOf(const ZipByteReader& read, const std::uint8_t* end,
                                     std::uint64_t at) {
    Directory d{LoadU16LE(end + 10), LoadU32LE(end + 12), LoadU32LE(end + 16)};
    if (d.entries != 0xffff && d.size != 0xffffffff && d.offset != 0xffffffff) return d;
    if (at < kEnd64LocatorBytes) return std::nullopt;
    std::uint8_t locator[kEnd64LocatorBytes];
    if (!read(at - kEnd64LocatorBytes, locator, sizeof locator) ||
        LoadU32LE(locator) != kEnd64LocatorSignature)
        return std::nullopt;
    std::uint8_t record[kEnd64Bytes];
    if (!read(LoadU64LE(locator + 8), record, sizeof record) ||
        LoadU32LE(record) != kEnd64Signature)
        return std::nullopt;
    return Directory{LoadU64LE(record + 32), LoadU64LE(record + 40), LoadU64LE(record + 48)};
}

// The ZIP64 extra field holds, in this order, only the values whose 32-bit field is full.
bool ApplyZip64Extra(const std::uint8_t* extra, std::size_t bytes, bool wantSize,
                     bool wantCompressed, bool wantOffset, std::uint64_t& compressed,
                     std::uint64_t& offset) {
    for (std::size_t at = 0; at + 4 <= bytes;) {
        const std::uint16_t id = LoadU16LE(extra + at);
        const std::size_t length = LoadU16LE(extra + at + 2);
        if (at + 4 + length > bytes) return false;
        if (id == kZip64ExtraId) {
            const std::uint8_t* field = extra + at + 4;
            std::size_t left = length;
            auto take = [&](std::uint64_t* out) {
                if (left < 8) return false;
                if (out != nullptr) *out = LoadU64LE(field);
                field += 8;
                left -= 8;
                return true;
            };
            return (!wantSize || take(nullptr)) && (!wantCompressed || take(&compressed)) &&
                   (!wantOffset || take(&offset));
        }
        at += 4 + length;
    }
    return !wantCompressed && !wantOffset;
}

std::optional<std::vector<TZipEntrySpan>> ParseDirectory(const std::vector<std::uint8_t>& cd,
                                                         std::uint64_t entryCount) {
    std::vector<TZipEntrySpan> spans;
    spans.reserve(static_cast<std::size_t>(entryCount));
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < entryCount; ++i) {
        if (cd.size() - at < kCentralBytes) return std::nullopt;
        const std::uint8_t* record = cd.data() + at;
        if (LoadU32LE(record) != kCentralSignature) return std::nullopt;
        const std::size_t variable =
            std::size_t{LoadU16LE(record + 28)} + LoadU16LE(record + 30) + LoadU16LE(record + 32);
        if (cd.size() - at - kCentralBytes < variable) return std::nullopt;
        std::uint64_t compressed = LoadU32LE(record + 20);
        std::uint64_t offset = LoadU32LE(record + 42);
        const bool wantSize = LoadU32LE(record + 24) == 0xffffffff;
        const bool wantCompressed = compressed == 0xffffffff;
        const bool wantOffset = offset == 0xffffffff;
        if ((wantSize || wantCompressed || wantOffset) &&
            !ApplyZip64Extra(record + kCentralBytes + LoadU16LE(record + 28),
                             LoadU16LE(record + 30), wantSize, wantCompressed, wantOffset,
                             compressed, offset))
            return std::nullopt;
        // Saturating, so that a hostile size still yields a span that overlaps what follows.
        constexpr std::uint64_t kFar = UINT64_MAX;
        const std::uint64_t length = kLocalHeaderBytes + std::min(compressed, kFar / 2);
        spans.push_back({offset, offset > kFar - length ? kFar : offset + length});
        at += kCentralBytes + variable;
    }
    return spans;
}

}  // namespace

std::optional<std::vector<TZipEntrySpan>> ReadZipEntrySpans(const ZipByteReader& read,
                                                            std::uint64_t archiveSize,
                                                            std::uint64_t entryCount) {
    if (archiveSize < kEndBytes) return std::nullopt;
    const std::size_t tailBytes = static_cast<std::size_t>(
        std::min<std::uint64_t>(archiveSize, kEndBytes + kMaxCommentBytes));
    const std::uint64_t tailStart = archiveSize - tailBytes;
    std::vector<std::uint8_t> tail(tailBytes);
    if (!read(tailStart, tail.data(), tail.size())) return std::nullopt;
    // A comment may hold the signature too: the first end record, from the back, whose
    // directory has the entries libzip found is the one libzip used.
    for (std::size_t at = tailBytes - kEndBytes + 1; at-- > 0;) {
        if (LoadU32LE(tail.data() + at) != kEndSignature) continue;
        const std::optional<Directory> d = DirectoryOf(read, tail.data() + at, tailStart + at);
        if (!d || d->entries != entryCount || d->offset > archiveSize ||
            d->size > archiveSize - d->offset)
            continue;
        std::vector<std::uint8_t> cd(static_cast<std::size_t>(d->size));
        if (!read(d->offset, cd.data(), cd.size())) continue;
        if (auto spans = ParseDirectory(cd, entryCount)) return spans;
    }
    return std::nullopt;
}

std::vector<std::int64_t> OverlappingSpans(const std::vector<TZipEntrySpan>& spans,
                                           const std::vector<bool>& considered) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (considered[i]) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return spans[a].begin != spans[b].begin ? spans[a].begin < spans[b].begin : a < b;
    });
    std::vector<std::int64_t> other(spans.size(), -1);
    // The span reaching furthest so far: any later start before its end shares bytes with it.
    std::size_t furthest = 0;
    bool any = false;
    for (std::size_t i : order) {
        if (any && spans[i].begin < spans[furthest].end) {
            other[i] = static_cast<std::int64_t>(furthest);
            if (other[furthest] < 0) other[furthest] = static_cast<std::int64_t>(i);
        }
        if (!any || spans[i].end > spans[furthest].end) furthest = i;
        any = true;
    }
    return other;
}
