#include "md3/md3_file_layout.h"

#include <algorithm>

#include "io/byte_source.h"
#include "md3/md3.h"

namespace {

struct Block {
    std::int64_t offset = 0;
    std::int64_t bytes = 0;
};

// Every block the counts as read give, where the file put it. Empty arrays take no room,
// wherever their offsets point.
std::vector<Block> BlocksAsRead(const TMD3FileLayout& layout) {
    const TMD3HeaderRecord& h = layout.header;
    const std::int64_t frames = h.numFrames;
    std::vector<Block> blocks = {
        {0, sizeof(TMD3HeaderRecord)},
        {h.ofsFrames, frames * std::int64_t{sizeof(TMD3Frame)}},
        {h.ofsTags, h.numTags == 0 ? 0 : frames * h.numTags * std::int64_t{sizeof(TMD3Tag)}},
    };
    for (std::size_t i = 0; i < layout.surfaces.size(); ++i) {
        const TMD3SurfaceRecord& s = layout.surfaces[i];
        const std::int64_t at = layout.surfacePositions[i];
        blocks.push_back({at, sizeof(TMD3SurfaceRecord)});
        blocks.push_back({at + s.ofsShaders, s.numShaders * std::int64_t{sizeof(TMD3Shader)}});
        blocks.push_back(
            {at + s.ofsTriangles, s.numTriangles * std::int64_t{sizeof(TMD3Triangle)}});
        blocks.push_back({at + s.ofsST, s.numVerts * std::int64_t{sizeof(TMD3TexCoord)}});
        blocks.push_back(
            {at + s.ofsXyzNormals, s.numVerts * frames * std::int64_t{sizeof(TMD3Vertex)}});
    }
    std::erase_if(blocks, [](const Block& b) { return b.bytes == 0; });
    std::sort(blocks.begin(), blocks.end(),
              [](const Block& a, const Block& b) { return a.offset < b.offset; });
    return blocks;
}

}  // namespace

bool TMD3FileLayout::Fits(const THeader& model) const {
    if (!valid || model.numFrames != header.numFrames || model.numTags != header.numTags ||
        model.numSurfaces != header.numSurfaces || model.surfaces.size() != surfaces.size()) {
        return false;
    }
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const TSurface& now = model.surfaces[i];
        const TMD3SurfaceRecord& then = surfaces[i];
        if (now.numShaders != then.numShaders || now.numVerts != then.numVerts ||
            now.numTriangles != then.numTriangles) {
            return false;
        }
    }
    return true;
}

bool CompleteFileLayout(const ByteSource& file, TMD3FileLayout& layout) {
    layout.valid = false;
    layout.fileSize = file.size();
    layout.gaps.clear();
    std::int64_t covered = 0;
    auto keepGap = [&](std::int64_t end) {
        if (end <= covered) return true;
        TMD3FileLayout::Gap gap{covered,
                                std::vector<char>(static_cast<std::size_t>(end - covered))};
        if (!file.ReadAt(gap.offset, gap.bytes.data(), end - covered)) return false;
        layout.gaps.push_back(std::move(gap));
        return true;
    };
    for (const Block& block : BlocksAsRead(layout)) {
        // Blocks that share bytes cannot each go back to their place once one of them changed.
        if (block.offset < covered) return false;
        if (!keepGap(block.offset)) return false;
        covered = block.offset + block.bytes;
    }
    if (!keepGap(file.size())) return false;
    layout.valid = true;
    return true;
}
