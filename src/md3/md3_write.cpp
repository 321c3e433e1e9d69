// Writing an MD3 file: header, frames, tags, then every surface as header, shaders,
// triangles, texture coordinates and vertices, with all offsets recomputed.
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "io/atomic_file_writer.h"
#include "md3/md3.h"

namespace {

constexpr std::int64_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

template <typename T>
void WriteArray(AtomicFileWriter& out, const std::vector<T>& array, std::int64_t count) {
    out.Write(array.data(), static_cast<std::size_t>(count) * sizeof(T));
}

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

}  // namespace

bool TMD3::SaveToFile(const std::string& fileName) {
    lastError_.clear();
    // Checked before the writer exists, so that a model that cannot be written leaves no
    // trace on disk.
    if (!CanBeWritten()) return false;
    AtomicFileWriter out(fileName);
    if (!WriteTo(out)) return false;
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

bool TMD3::WriteTo(AtomicFileWriter& out) {
    lastError_.clear();
    if (!CanBeWritten()) return false;
    THeader& h = header;
    const std::int64_t ofsTags = HeaderSize() + FramesSize();
    const std::int64_t ofsSurfaces = ofsTags + TagsSize();
    const std::int64_t ofsEnd = ofsSurfaces + SurfacesSize();
    h.ofsFrames = static_cast<std::int32_t>(HeaderSize());
    h.ofsTags = static_cast<std::int32_t>(ofsTags);
    h.ofsSurfaces = static_cast<std::int32_t>(ofsSurfaces);
    h.ofsEnd = static_cast<std::int32_t>(ofsEnd);
    for (int i = 0; i < h.numSurfaces; ++i) {
        TSurface& s = h.surfaces[i];
        s.ofsShaders = static_cast<std::int32_t>(SurfaceHeaderSize());
        s.ofsTriangles = static_cast<std::int32_t>(s.ofsShaders + ShadersSize(i));
        s.ofsST = static_cast<std::int32_t>(s.ofsTriangles + TrianglesSize(i));
        s.ofsXyzNormals = static_cast<std::int32_t>(s.ofsST + TexCoordsSize(i));
        s.ofsEnd = static_cast<std::int32_t>(s.ofsXyzNormals + VerticesSize(i));
    }

    out.Write(static_cast<const TMD3HeaderRecord*>(&h), sizeof(TMD3HeaderRecord));
    WriteArray(out, h.frames, h.numFrames);
    WriteArray(out, h.tags, std::int64_t{h.numFrames} * h.numTags);
    std::vector<TMD3TexCoord> fileTexCoords;
    for (const TSurface& s : h.surfaces) {
        out.Write(static_cast<const TMD3SurfaceRecord*>(&s), sizeof(TMD3SurfaceRecord));
        WriteArray(out, s.shaders, s.numShaders);
        WriteArray(out, s.triangles, s.numTriangles);
        FileTexCoords(s, fileTexCoords);
        WriteArray(out, fileTexCoords, s.numVerts);
        WriteArray(out, s.vertices, std::int64_t{s.numVerts} * h.numFrames);
    }
    if (!out.Finish()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}
