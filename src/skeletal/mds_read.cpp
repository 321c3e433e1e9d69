// Reading an MDS file. Nothing in the file is trusted: every count and offset is checked
// against the real file size before anything is allocated, and the bytes copied out are
// capped at a small multiple of the file size, so blocks that point at the same bytes again
// and again cannot take unbounded memory or time.
#include <cstring>
#include <limits>
#include <string>

#include "io/file_image.h"
#include "io/message_name.h"
#include "skeletal/mds.h"
#include "skeletal/surface_indices.h"

namespace {

constexpr std::int64_t kMaxFileBytes = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kReadBudgetFactor = 4;

class MDSReader {
  public:
    MDSReader(const ByteSource& file, std::string& error)
        : file_(file), error_(error), budget_(kReadBudgetFactor * file.size()) {}

    bool Read(TMDS& model);

  private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }
    template <typename Name>
    bool Take(std::int64_t offset, void* destination, std::int64_t bytes, const Name& what);
    template <typename T, typename Name>
    bool ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                   const Name& what);
    bool ReadSurface(std::size_t index, std::int64_t position, TMDSSurface& surface);
    bool ReadFrames(TMDS& model);

    const ByteSource& file_;
    std::string& error_;
    std::int64_t budget_;
};

template <typename Name>
bool MDSReader::Take(std::int64_t offset, void* destination, std::int64_t bytes, const Name& what) {
    if (bytes > budget_) {
        return Fail("the file stores " + MessageName(what) + " over data already read");
    }
    if (!file_.ReadAt(offset, destination, bytes)) {
        return Fail(MessageName(what) + " lies outside the file");
    }
    budget_ -= bytes;
    return true;
}

template <typename T, typename Name>
bool MDSReader::ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                          const Name& what) {
    array.clear();
    if (count == 0) return true;
    if (!file_.Fits(offset, count, sizeof(T))) {
        return Fail("the file ends before " + MessageName(what) + " (" + std::to_string(count) +
                    " records at offset " + std::to_string(offset) + ")");
    }
    const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(T));
    if (bytes > budget_) {
        return Fail("the file stores " + MessageName(what) + " over data already read");
    }
    array.resize(static_cast<std::size_t>(count));
    return Take(offset, array.data(), bytes, what);
}

bool MDSReader::Read(TMDS& model) {
    TMDSHeader& h = model.header;
    if (!file_.ReadAt(0, &h, sizeof h)) {
        return Fail("the file is shorter than an MDS header (120 bytes)");
    }
    if (std::memcmp(h.ident, kMDSIdent, 4) != 0) {
        return Fail("not an MDS file (the identifier is not MDSW)");
    }
    // Each surface needs at least its header inside the file.
    if (h.numSurfaces > 0 && !file_.Fits(h.ofsSurfaces, h.numSurfaces, sizeof(TMDMSurfaceHeader))) {
        return Fail("the " + std::to_string(h.numSurfaces) + " surfaces at offset " +
                    std::to_string(h.ofsSurfaces) + " do not fit in the file");
    }
    model.surfaces.resize(h.numSurfaces);
    std::int64_t position = h.ofsSurfaces;
    for (std::size_t i = 0; i < model.surfaces.size(); ++i) {
        if (!ReadSurface(i, position, model.surfaces[i])) return false;
        position += model.surfaces[i].ofsEnd;
    }
    return ReadArray(h.ofsTags, h.numTags, model.tags, "the tags") &&
           ReadArray(h.ofsBones, h.numBones, model.bones, "the bones") && ReadFrames(model);
}

bool MDSReader::ReadSurface(std::size_t index, std::int64_t position, TMDSSurface& surface) {
    const std::string what = "surface " + std::to_string(index);
    if (!Take(position, static_cast<TMDMSurfaceHeader*>(&surface), sizeof(TMDMSurfaceHeader),
              "the header of " + what)) {
        return false;
    }
    std::int64_t offset = position + surface.ofsVerts;
    if (surface.numVerts > 0 && !file_.Fits(offset, surface.numVerts, sizeof(TMDSVertexRecord))) {
        return Fail("the vertices of " + what + " do not fit in the file");
    }
    surface.vertices.resize(surface.numVerts);
    for (std::size_t v = 0; v < surface.vertices.size(); ++v) {
        TMDSVertex& vertex = surface.vertices[v];
        const auto which = [&what, v] { return "vertex " + std::to_string(v) + " of " + what; };
        if (!Take(offset, static_cast<TMDSVertexRecord*>(&vertex), sizeof(TMDSVertexRecord),
                  which)) {
            return false;
        }
        if (vertex.numWeights < 0) return Fail(which() + " has a negative weight count");
        offset += std::int64_t{sizeof(TMDSVertexRecord)};
        if (!ReadArray(offset, vertex.numWeights, vertex.weights,
                       [&which] { return "the weights of " + which(); })) {
            return false;
        }
        offset += std::int64_t{sizeof(TMDMWeight)} * vertex.numWeights;
    }
    if (!ReadArray(position + surface.ofsTriangles, surface.numTriangles, surface.triangles,
                   "the triangles of " + what) ||
        !ReadArray(position + surface.ofsCollapseMap, surface.numVerts, surface.collapseMap,
                   "the collapse map of " + what) ||
        !ReadArray(position + surface.ofsBoneReferences, surface.numBoneReferences,
                   surface.boneReferences, "the bone references of " + what)) {
        return false;
    }
    const std::string problem =
        SurfaceIndexProblem(surface.triangles, surface.collapseMap, surface.numVerts, what);
    return problem.empty() || Fail(problem);
}

bool MDSReader::ReadFrames(TMDS& model) {
    const TMDSHeader& h = model.header;
    const std::int64_t frameSize =
        std::int64_t{sizeof(TMDXFrameRecord)} + std::int64_t{sizeof(TMDXBoneFrame)} * h.numBones;
    if (h.numFrames > 0 && !file_.Fits(h.ofsFrames, h.numFrames, frameSize)) {
        return Fail("the " + std::to_string(h.numFrames) + " frames at offset " +
                    std::to_string(h.ofsFrames) + " do not fit in the file");
    }
    model.frames.resize(h.numFrames);
    std::int64_t offset = h.ofsFrames;
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        TMDXFrame& frame = model.frames[f];
        const auto what = [f] { return "frame " + std::to_string(f); };
        if (!Take(offset, static_cast<TMDXFrameRecord*>(&frame), sizeof(TMDXFrameRecord), what) ||
            !ReadArray(offset + std::int64_t{sizeof(TMDXFrameRecord)}, h.numBones, frame.boneFrames,
                       [&what] { return "the bone frames of " + what(); })) {
            return false;
        }
        offset += frameSize;
    }
    return true;
}

}  // namespace

bool TMDS::LoadFromFile(const std::string& fileName) {
    lastError_.clear();
    Clear();
    const FileImage file(fileName, kMaxFileBytes);
    if (!file.ok()) {
        lastError_ = file.error();
        return false;
    }
    return LoadFrom(file);
}

bool TMDS::LoadFrom(const ByteSource& file) {
    lastError_.clear();
    Clear();
    MDSReader reader(file, lastError_);
    const bool read = reader.Read(*this);
    if (!read) Clear();
    return read;
}

void TMDS::Clear() {
    header = TMDSHeader();
    surfaces.clear();
    tags.clear();
    bones.clear();
    frames.clear();
}

bool TMDS::IsValid() const {
    return std::memcmp(header.ident, kMDSIdent, 4) == 0;
}
