// ".tag" files ("TAG3"): one set of tags without frames. Loading appends the file's tags to
// every frame of the model; saving writes the tags of frame 0.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "io/atomic_file_writer.h"
#include "io/binary_file.h"
#include "md3/md3.h"
#include "md3/md3_tag_file.h"

namespace {

struct TagFileHeader {
    char ident[4] = {};
    std::int32_t version = 0;
    std::int32_t numTags = 0;
    std::int32_t ofsEnd = 0;
};
static_assert(sizeof(TagFileHeader) == kTagFileHeaderSize);

// Widens every frame's tag block from `oldCount` to `oldCount + added` records, working
// from the last frame backwards so the old tags move in place, and hands back where the
// new tags of each frame go.
template <typename Fill>
void InsertTagsPerFrame(THeader& h, std::int32_t added, Fill fill) {
    const std::size_t frames = static_cast<std::size_t>(h.numFrames > 0 ? h.numFrames : 0);
    const std::size_t oldCount = static_cast<std::size_t>(h.numTags);
    const std::size_t newCount = oldCount + static_cast<std::size_t>(added);
    // A tag array shorter than the counts say holds nothing trustworthy to move.
    if (h.tags.size() < frames * oldCount) h.tags.resize(frames * oldCount);
    h.tags.resize(frames * newCount);
    for (std::size_t f = frames; f-- > 0;) {
        for (std::size_t j = oldCount; j-- > 0;)
            h.tags[f * newCount + j] = h.tags[f * oldCount + j];
        fill(&h.tags[f * newCount + oldCount]);
    }
    h.numTags = static_cast<std::int32_t>(newCount);
}

}  // namespace

bool ReadTagFile(const std::string& fileName, std::vector<TMD3Tag>& tags, std::string& error) {
    return ReadTagFile(BinaryFile(fileName), tags, error);
}

bool ReadTagFile(const ByteSource& file, std::vector<TMD3Tag>& tags, std::string& error) {
    auto fail = [&error](const std::string& reason) {
        error = reason;
        return false;
    };
    TagFileHeader fileHeader;
    if (!file.ReadAt(0, &fileHeader, sizeof fileHeader)) {
        return fail("the file is shorter than a tag file header (16 bytes)");
    }
    if (std::memcmp(fileHeader.ident, kTagFileIdent, 4) != 0) {
        return fail("not a tag file (the identifier is not TAG3)");
    }
    if (fileHeader.version != kTagFileVersion) {
        return fail("unsupported tag file version " + std::to_string(fileHeader.version));
    }
    if (fileHeader.numTags < 0) return fail("the tag count is negative");
    if (!file.Fits(kTagFileHeaderSize, fileHeader.numTags, sizeof(TMD3Tag))) {
        return fail("the " + std::to_string(fileHeader.numTags) +
                    (fileHeader.numTags == 1 ? " tag runs" : " tags run") +
                    " past the end of the file");
    }
    std::vector<TMD3Tag> read(static_cast<std::size_t>(fileHeader.numTags));
    if (!file.ReadAt(kTagFileHeaderSize, read.data(),
                     static_cast<std::int64_t>(read.size() * sizeof(TMD3Tag)))) {
        return fail("the tags could not be read");
    }
    tags = std::move(read);
    return true;
}

bool WriteTagFile(ByteSink& out, const std::vector<TMD3Tag>& tags, std::string& error) {
    const std::int64_t fileSize =
        kTagFileHeaderSize + static_cast<std::int64_t>(tags.size()) * std::int64_t{sizeof(TMD3Tag)};
    if (fileSize > std::numeric_limits<std::int32_t>::max()) {
        error = "too many tags for a tag file";
        return false;
    }
    TagFileHeader fileHeader;
    std::memcpy(fileHeader.ident, kTagFileIdent, 4);
    fileHeader.version = kTagFileVersion;
    fileHeader.numTags = static_cast<std::int32_t>(tags.size());
    fileHeader.ofsEnd = static_cast<std::int32_t>(fileSize);
    out.Write(&fileHeader, sizeof fileHeader);
    out.Write(tags.data(), tags.size() * sizeof(TMD3Tag));
    if (!out.Finish()) {
        error = "writing failed: " + out.error();
        return false;
    }
    return true;
}

bool TMD3::LoadTagsFromFile(const std::string& fileName) {
    return LoadTagsFrom(BinaryFile(fileName));
}

bool TMD3::LoadTagsFrom(const ByteSource& source) {
    lastError_.clear();
    std::vector<TMD3Tag> fileTags;
    if (!ReadTagFile(source, fileTags, lastError_)) return false;
    if (fileTags.empty()) {
        lastError_ = "the file holds no tags";
        return false;
    }
    if (fileTags.size() >
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - header.numTags)) {
        lastError_ = "the model cannot hold that many tags";
        return false;
    }
    InsertTagsPerFrame(header, static_cast<std::int32_t>(fileTags.size()),
                       [&](TMD3Tag* slot) { std::copy(fileTags.begin(), fileTags.end(), slot); });
    return true;
}

void TMD3::AddTag(const TMD3Tag& tag) {
    if (header.numTags == std::numeric_limits<std::int32_t>::max()) return;
    // `tag` may be one of the model's own tags, which the widening moves.
    const TMD3Tag added = tag;
    InsertTagsPerFrame(header, 1, [&](TMD3Tag* slot) { *slot = added; });
}

namespace {

bool TagArrayHolds(const THeader& h, int index) {
    return index >= 0 && index < h.numTags && h.numFrames >= 0 &&
           h.tags.size() == static_cast<std::size_t>(h.numFrames) * h.numTags;
}

}  // namespace

bool TMD3::RemoveTag(int index) {
    if (!TagArrayHolds(header, index)) return false;
    const std::size_t count = static_cast<std::size_t>(header.numTags);
    std::vector<TMD3Tag> kept;
    kept.reserve(header.tags.size() - static_cast<std::size_t>(header.numFrames));
    for (std::size_t i = 0; i < header.tags.size(); ++i) {
        if (i % count != static_cast<std::size_t>(index)) kept.push_back(header.tags[i]);
    }
    header.tags = std::move(kept);
    header.numTags -= 1;
    return true;
}

bool TMD3::RenameTag(int index, std::string_view name) {
    if (!TagArrayHolds(header, index)) return false;
    for (std::size_t i = static_cast<std::size_t>(index); i < header.tags.size();
         i += static_cast<std::size_t>(header.numTags)) {
        SetName64(name, header.tags[i].name);
    }
    return true;
}

bool TMD3::MoveTag(int from, int to) {
    if (!TagArrayHolds(header, from) || !TagArrayHolds(header, to)) return false;
    const std::size_t count = static_cast<std::size_t>(header.numTags);
    for (std::size_t frame = 0; frame < header.tags.size(); frame += count) {
        auto first = header.tags.begin() + static_cast<std::ptrdiff_t>(frame);
        if (from < to) {
            std::rotate(first + from, first + from + 1, first + to + 1);
        } else {
            std::rotate(first + to, first + from, first + from + 1);
        }
    }
    return true;
}

bool TMD3::FrameZeroTags(std::vector<TMD3Tag>& tags) {
    lastError_.clear();
    const std::size_t count = static_cast<std::size_t>(header.numTags > 0 ? header.numTags : 0);
    // Without a frame there are no tag records, whatever numTags says.
    if (count == 0 || header.numFrames <= 0 || header.tags.size() < count) {
        lastError_ = "the model has no tags";
        return false;
    }
    tags.assign(header.tags.begin(), header.tags.begin() + static_cast<std::ptrdiff_t>(count));
    return true;
}

bool TMD3::SaveTagsToFile(const std::string& fileName) {
    std::vector<TMD3Tag> tags;
    if (!FrameZeroTags(tags)) return false;
    AtomicFileWriter out(fileName);
    if (!WriteTagFile(out, tags, lastError_)) return false;
    if (!out.Commit()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}
