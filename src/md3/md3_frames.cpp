// Appending the frames of another MD3 file that holds the same model, and deleting frames.
// The other file is checked step by step in a fixed order so that the user learns the first
// thing that does not match; nothing in it is trusted before it was checked against the
// real file size, and the model is only touched once everything was read.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

#include "io/binary_file.h"
#include "md3/md3.h"

namespace {

// As in the model reader: a legitimate file stores every byte once, so the vertex data read
// for all surfaces together may not exceed a small multiple of the file size.
constexpr std::int64_t kReadBudgetFactor = 4;

// What is taken over from the other file.
struct FramesSource {
    std::vector<TMD3Frame> frames;
    std::vector<TMD3Tag> tags;                      // numFrames x numTags
    std::vector<std::vector<TMD3Vertex>> vertices;  // per surface, numVerts x numFrames
    std::int32_t numFrames = 0;
};

// Reads and checks the other file against `model`; returns the status text of the first
// failed check, or an empty text.
std::string ReadFramesSource(const THeader& model, const ByteSource& file,
                             const std::string& fileName, FramesSource& source) {
    const std::string shortName = std::filesystem::path(fileName).filename().string();

    TMD3HeaderRecord h;
    if (!file.ReadAt(0, &h, sizeof h)) return "Could not read header: " + shortName;
    if (std::memcmp(h.ident, kMD3Ident, 4) != 0) return "No MD3 format: " + shortName;
    if (h.numFrames <= 0) return "No frame-data: " + shortName;
    if (h.numTags != model.numTags) return "Number of tags not equal: " + shortName;

    if (!file.Fits(h.ofsFrames, h.numFrames, sizeof(TMD3Frame))) {
        return "Error reading frame-data: " + shortName;
    }
    source.numFrames = h.numFrames;
    source.frames.resize(static_cast<std::size_t>(h.numFrames));
    if (!file.ReadAt(h.ofsFrames, source.frames.data(),
                     std::int64_t{h.numFrames} * std::int64_t{sizeof(TMD3Frame)})) {
        return "Error reading frame-data: " + shortName;
    }

    if (h.numTags > 0) {
        const std::string expected =
            model.tags.empty() ? std::string() : NameFieldText(model.tags[0].name);
        const std::int64_t blockBytes = std::int64_t{h.numTags} * std::int64_t{sizeof(TMD3Tag)};
        for (std::int64_t f = 0; f < h.numFrames; ++f) {
            // Grown frame by frame: a block must be in the file before it takes memory.
            const std::int64_t offset = std::int64_t{h.ofsTags} + f * blockBytes;
            if (!file.Fits(offset, h.numTags, sizeof(TMD3Tag))) {
                return "Error reading tag-data: " + shortName;
            }
            const std::size_t first = source.tags.size();
            source.tags.resize(first + static_cast<std::size_t>(h.numTags));
            if (!file.ReadAt(offset, &source.tags[first], blockBytes)) {
                return "Error reading tag-data: " + shortName;
            }
            const std::string found = NameFieldText(source.tags[first].name);
            if (found != expected) {
                return "Tag \"" + found + "\" found, expected \"" + expected +
                       "\" in: " + shortName;
            }
        }
    }

    // Surfaces are matched by position, so the counts must agree or the copy would run
    // past one of the two surface arrays.
    if (h.numSurfaces != model.numSurfaces) return "Number of surfaces not equal: " + shortName;
    std::int64_t budget = kReadBudgetFactor * file.size();
    source.vertices.resize(static_cast<std::size_t>(h.numSurfaces));
    std::int64_t position = h.ofsSurfaces;
    for (int i = 0; i < h.numSurfaces; ++i) {
        TMD3SurfaceRecord s;
        if (!file.ReadAt(position, &s, sizeof s)) {
            return "Error reading surface[" + std::to_string(i) + "]-header: " + shortName;
        }
        const TSurface& current = model.surfaces[static_cast<std::size_t>(i)];
        const std::string name = NameFieldText(s.name);
        // The reader gives every surface without shader records an empty one, so a file
        // without them matches a model loaded from that very file.
        const std::int32_t fileShaders = s.numShaders == 0 ? 1 : s.numShaders;
        const std::int32_t modelShaders = current.numShaders == 0 ? 1 : current.numShaders;
        if (fileShaders != modelShaders) {
            return "Number of shaders not equal for surface[\"" + name + "\"]: " + shortName;
        }
        if (s.numTriangles != current.numTriangles) {
            return "Number of triangles not equal for surface[\"" + name + "\"]: " + shortName;
        }
        if (s.numVerts != current.numVerts) {
            return "Number of vertexes not equal for surface[\"" + name + "\"]: " + shortName;
        }
        // As the model reader does: the surface's own frame count is unreliable (exporters
        // write 0 there), so the vertex block holds the header's frames.
        const std::int64_t count = std::int64_t{s.numVerts} * h.numFrames;
        const std::int64_t offset = position + s.ofsXyzNormals;
        const std::int64_t bytes = count * std::int64_t{sizeof(TMD3Vertex)};
        std::vector<TMD3Vertex>& vertices = source.vertices[static_cast<std::size_t>(i)];
        if (count == 0) {
            position += s.ofsEnd;
            continue;
        }
        if (!file.Fits(offset, count, sizeof(TMD3Vertex)) || bytes > budget) {
            return "Error reading vertex-data for surface[\"" + name + "\"]: " + shortName;
        }
        budget -= bytes;
        vertices.resize(static_cast<std::size_t>(count));
        if (!file.ReadAt(offset, vertices.data(), bytes)) {
            return "Error reading vertex-data for surface[\"" + name + "\"]: " + shortName;
        }
        position += s.ofsEnd;
    }
    if (h.numFrames > std::numeric_limits<std::int32_t>::max() - model.numFrames) {
        return "Too many frames: " + shortName;
    }
    return {};
}

}  // namespace

bool TMD3::AppendFirstFrameFromFile(const std::string& fileName, std::string& message) {
    return AppendFramesFrom(BinaryFile(fileName), fileName, false, message);
}

bool TMD3::AppendAllFramesFromFile(const std::string& fileName, std::string& message) {
    return AppendFramesFrom(BinaryFile(fileName), fileName, true, message);
}

bool TMD3::AppendFramesFrom(const ByteSource& file, const std::string& fileName, bool allFrames,
                            std::string& message) {
    message.clear();
    FramesSource source;
    message = ReadFramesSource(header, file, fileName, source);
    if (!message.empty()) return false;

    const std::size_t oldFrames = static_cast<std::size_t>(header.numFrames);
    const std::size_t added = allFrames ? static_cast<std::size_t>(source.numFrames) : 1;
    const std::size_t newFrames = oldFrames + added;
    const std::size_t numTags = static_cast<std::size_t>(header.numTags);

    for (std::size_t k = 0; k < added; ++k) {
        TMD3Frame frame = source.frames[k];
        SetNameField(kMergedFrameName, frame.name);
        header.frames.push_back(frame);
    }
    header.tags.resize(newFrames * numTags);
    std::copy_n(source.tags.begin(), added * numTags, header.tags.begin() + oldFrames * numTags);
    for (std::size_t i = 0; i < header.surfaces.size(); ++i) {
        TSurface& s = header.surfaces[i];
        const std::size_t verts = static_cast<std::size_t>(s.numVerts);
        s.vertices.resize(newFrames * verts);
        std::copy_n(source.vertices[i].begin(), added * verts,
                    s.vertices.begin() + oldFrames * verts);
        s.numFrames = static_cast<std::int32_t>(newFrames);
    }
    header.numFrames = static_cast<std::int32_t>(newFrames);
    return true;
}

bool TMD3::DeleteFrame(std::int32_t index) {
    if (header.numFrames == 1 || index < 0 || index > header.numFrames - 1) return false;
    const std::size_t f = static_cast<std::size_t>(index);
    const std::size_t numTags = static_cast<std::size_t>(header.numTags);
    header.frames.erase(header.frames.begin() + f);
    if (numTags > 0 && header.tags.size() >= (f + 1) * numTags) {
        header.tags.erase(header.tags.begin() + f * numTags,
                          header.tags.begin() + (f + 1) * numTags);
    }
    for (TSurface& s : header.surfaces) {
        const std::size_t verts = static_cast<std::size_t>(s.numVerts);
        if (verts > 0 && s.vertices.size() >= (f + 1) * verts) {
            s.vertices.erase(s.vertices.begin() + f * verts, s.vertices.begin() + (f + 1) * verts);
        }
        s.numFrames = header.numFrames - 1;
    }
    header.numFrames -= 1;
    return true;
}
