// Writing an MD3 file: each block where the file it was read from had it, or in the fixed
// order header, frames, tags, then every surface as header, shaders, triangles, texture
// coordinates and vertices.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "io/atomic_file_writer.h"
#include "md3/md3.h"

#include "mdc/mdc.h"

namespace {

constexpr std::int64_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

}  // namespace

// The file holds t unflipped. A t that still is exactly the flip of what was read goes back
// with the bits the file had; compared bit for bit so that NaNs and signed zeros count too.
// Kept bits are only trusted while the array has the texture coordinates' own length.
void FileTexCoords(const TSurface& s, std::vector<TMD3TexCoord>& fileTexCoords) {
    const bool kept = s.texCoordTAsRead.size() == s.texCoords.size();
    fileTexCoords.resize(s.texCoords.size());
    for (std::size_t v = 0; v < s.texCoords.size(); ++v) {
        const float t = s.texCoords[v].t;
        float fileT = 1.0f - t;
        if (kept) {
            const float asRead = s.texCoordTAsRead[v];
            if (std::bit_cast<std::uint32_t>(1.0f - asRead) == std::bit_cast<std::uint32_t>(t)) {
                fileT = asRead;
            }
        }
        fileTexCoords[v] = {s.texCoords[v].s, fileT};
    }
}

// The shader records as the file gets them: a record whose name is still the one read
// keeps the shaderIndex the file had, whatever this session stored there.
void FileShaders(const TSurface& s, std::vector<TMD3Shader>& fileShaders) {
    fileShaders = s.shaders;
    const std::size_t kept = std::min(fileShaders.size(), s.shadersAsRead.size());
    for (std::size_t i = 0; i < kept; ++i) {
        if (NameFieldText(fileShaders[i].name) == NameFieldText(s.shadersAsRead[i].name)) {
            fileShaders[i].shaderIndex = s.shadersAsRead[i].shaderIndex;
        }
    }
}

bool TMD3::SaveToFile(const std::string& fileName) {
    lastError_.clear();
    // Checked before the writer exists, so that a model that cannot be written leaves no
    // trace on disk.
    if (!CanBeWritten()) return false;
    AtomicFileWriter out(fileName);
    if (!(IsMDCFileName(fileName) ? WriteMDCTo(out) : WriteTo(out))) return false;
    if (!out.Commit()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}

bool TMD3::CanBeWritten() {
    auto fail = [this](const std::string& reason) {
        lastError_ = reason;
        return false;
    };
    // The arrays must hold what the counts say, or the file would not describe itself.
    const THeader& h = header;
    if (h.numFrames < 0 || h.numTags < 0 || h.numSurfaces < 0 ||
        h.frames.size() != static_cast<std::size_t>(h.numFrames) ||
        h.tags.size() != static_cast<std::size_t>(std::int64_t{h.numFrames} * h.numTags) ||
        h.surfaces.size() != static_cast<std::size_t>(h.numSurfaces)) {
        return fail("the model's arrays do not match its counts");
    }
    for (const TSurface& s : h.surfaces) {
        if (s.numShaders < 0 || s.numTriangles < 0 || s.numVerts < 0 ||
            s.shaders.size() != static_cast<std::size_t>(s.numShaders) ||
            s.triangles.size() != static_cast<std::size_t>(s.numTriangles) ||
            s.texCoords.size() != static_cast<std::size_t>(s.numVerts) ||
            s.vertices.size() != static_cast<std::size_t>(std::int64_t{s.numVerts} * h.numFrames)) {
            return fail("the arrays of a surface do not match its counts");
        }
    }
    if (HeaderSize() + FramesSize() + TagsSize() + SurfacesSize() > kMaxOffset) {
        return fail("the model is too large for an MD3 file");
    }
    return true;
}

bool TMD3::WriteTo(ByteSink& out) {
    lastError_.clear();
    if (!CanBeWritten()) return false;
    std::vector<Piece> pieces;
    FileRecords records;
    if (!layoutAsRead.Fits(header) || !PlaceAsRead(records, pieces)) {
        pieces.clear();
        records = FileRecords{};
        PlaceCanonically(records, pieces);
    }
    for (const Piece& piece : pieces)
        out.Write(piece.data, static_cast<std::size_t>(piece.bytes));
    if (!out.Finish()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}

void TMD3::PlaceCanonically(FileRecords& records, std::vector<Piece>& pieces) {
    THeader& h = header;
    const std::int64_t ofsTags = HeaderSize() + FramesSize();
    const std::int64_t ofsSurfaces = ofsTags + TagsSize();
    const std::int64_t ofsEnd = ofsSurfaces + SurfacesSize();
    h.ofsFrames = static_cast<std::int32_t>(HeaderSize());
    h.ofsTags = static_cast<std::int32_t>(ofsTags);
    h.ofsSurfaces = static_cast<std::int32_t>(ofsSurfaces);
    h.ofsEnd = static_cast<std::int32_t>(ofsEnd);
    std::int64_t position = ofsSurfaces;
    for (int i = 0; i < h.numSurfaces; ++i) {
        TSurface& s = h.surfaces[i];
        s.ofsShaders = static_cast<std::int32_t>(SurfaceHeaderSize());
        s.ofsTriangles = static_cast<std::int32_t>(s.ofsShaders + ShadersSize(i));
        s.ofsST = static_cast<std::int32_t>(s.ofsTriangles + TrianglesSize(i));
        s.ofsXyzNormals = static_cast<std::int32_t>(s.ofsST + TexCoordsSize(i));
        s.ofsEnd = static_cast<std::int32_t>(s.ofsXyzNormals + VerticesSize(i));
        records.surfacePositions.push_back(position);
        position += s.ofsEnd;
    }
    PlaceBlocks(records, pieces);
}

bool TMD3::PlaceAsRead(FileRecords& records, std::vector<Piece>& pieces) {
    const TMD3FileLayout& layout = layoutAsRead;
    THeader& h = header;
    h.ofsFrames = layout.header.ofsFrames;
    h.ofsTags = layout.header.ofsTags;
    h.ofsSurfaces = layout.header.ofsSurfaces;
    h.ofsEnd = layout.header.ofsEnd;
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        TSurface& s = h.surfaces[i];
        const TMD3SurfaceRecord& then = layout.surfaces[i];
        s.ofsShaders = then.ofsShaders;
        s.ofsTriangles = then.ofsTriangles;
        s.ofsST = then.ofsST;
        s.ofsXyzNormals = then.ofsXyzNormals;
        s.ofsEnd = then.ofsEnd;
    }
    records.surfacePositions = layout.surfacePositions;
    PlaceBlocks(records, pieces);
    for (const TMD3FileLayout::Gap& gap : layout.gaps)
        pieces.push_back(
            {gap.offset, gap.bytes.data(), static_cast<std::int64_t>(gap.bytes.size())});
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.offset < b.offset; });
    // The blocks and gaps were found to tile the file when it was read; should they not do so
    // now, the fixed order is the safe way out.
    std::int64_t end = 0;
    for (const Piece& piece : pieces) {
        if (piece.offset != end) return false;
        end += piece.bytes;
    }
    return end == layout.fileSize;
}

void TMD3::PlaceBlocks(FileRecords& records, std::vector<Piece>& pieces) {
    const THeader& h = header;
    const std::int64_t frames = h.numFrames;
    auto place = [&pieces](std::int64_t offset, const void* data, std::int64_t bytes) {
        if (bytes > 0) pieces.push_back({offset, data, bytes});
    };
    place(0, static_cast<const TMD3HeaderRecord*>(&h), sizeof(TMD3HeaderRecord));
    place(h.ofsFrames, h.frames.data(), FramesSize());
    place(h.ofsTags, h.tags.data(), TagsSize());
    records.shaders.resize(h.surfaces.size());
    records.texCoords.resize(h.surfaces.size());
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        const TSurface& s = h.surfaces[i];
        const std::int64_t at = records.surfacePositions[i];
        FileShaders(s, records.shaders[i]);
        FileTexCoords(s, records.texCoords[i]);
        place(at, static_cast<const TMD3SurfaceRecord*>(&s), sizeof(TMD3SurfaceRecord));
        place(at + s.ofsShaders, records.shaders[i].data(),
              s.numShaders * std::int64_t{sizeof(TMD3Shader)});
        place(at + s.ofsTriangles, s.triangles.data(),
              s.numTriangles * std::int64_t{sizeof(TMD3Triangle)});
        place(at + s.ofsST, records.texCoords[i].data(),
              s.numVerts * std::int64_t{sizeof(TMD3TexCoord)});
        place(at + s.ofsXyzNormals, s.vertices.data(),
              s.numVerts * frames * std::int64_t{sizeof(TMD3Vertex)});
    }
}
