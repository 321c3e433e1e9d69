// Reading an MDM file. Offsets are honoured as stored, so blocks may come in any order.
// Nothing in the file is trusted: every count and offset is checked against the real file
// size before anything is allocated or a limit question is asked.
#include <cstring>
#include <limits>
#include <string>

#include "io/file_image.h"
#include "io/message_name.h"
#include "io/user_prompts.h"
#include "skeletal/mdm.h"
#include "skeletal/surface_indices.h"

namespace {

// Offsets are 32-bit, so a larger file cannot be an MDM file.
constexpr std::int64_t kMaxFileBytes = std::numeric_limits<std::int32_t>::max();
// Legitimate files never store a byte twice, so the data a reader may copy out of a file
// is capped at a small multiple of its size. This bounds memory and time for files whose
// surfaces point at the same bytes again and again.
constexpr std::int64_t kReadBudgetFactor = 4;

constexpr const char* kLimitCaption = "Confirmation";

std::string LimitQuestion(const char* limit, std::uint32_t count, std::uint32_t maximum) {
    return std::string(limit) + " limit exceeded: " + std::to_string(count) + " > " +
           std::to_string(maximum) + "\r\nContinue loading?..";
}

std::string Counted(std::uint32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Whether `count` records of `size` bytes at `offset` lie in the file; an empty array fits
// anywhere, as nothing of it is read.
bool FitsOrEmpty(const ByteSource& file, std::int64_t offset, std::uint32_t count,
                 std::int64_t size) {
    return count == 0 || file.Fits(offset, count, size);
}

class MDMReader {
  public:
    MDMReader(const ByteSource& file, UserPrompts& prompts, std::string& error)
        : file_(file), prompts_(prompts), error_(error), budget_(kReadBudgetFactor * file.size()) {}

    // False with the reason in the error text; `declined` tells a No to a limit question.
    bool ReadHeader(TMDMHeader& header);
    bool ReadSurfaces(const TMDMHeader& header, TMDM& mesh);
    bool ReadTags(const TMDMHeader& header, std::vector<TMDMTag>& tags);
    bool declined() const { return declined_; }

  private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }
    // Asks a limit question when count > maximum; false (and declined) for No.
    bool WithinLimit(const char* limit, std::uint32_t count, std::uint32_t maximum);
    // Copies `count` records of T at `offset` into `array`, within the file and the budget.
    template <typename T, typename Name>
    bool ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                   const Name& what);
    template <typename T, typename Name>
    bool ReadRecord(std::int64_t offset, T& record, const Name& what);
    bool ReadSurface(int index, std::int64_t position, TMDMSurface& surface);
    bool ReadVertices(std::int64_t offset, TMDMSurface& surface, const std::string& what);

    const ByteSource& file_;
    UserPrompts& prompts_;
    std::string& error_;
    std::int64_t budget_;
    bool declined_ = false;
};

bool MDMReader::WithinLimit(const char* limit, std::uint32_t count, std::uint32_t maximum) {
    if (count <= maximum) return true;
    const std::string question = LimitQuestion(limit, count, maximum);
    if (prompts_.Ask(kLimitCaption, question, PromptButtons::YesNo) == PromptAnswer::Yes) {
        return true;
    }
    declined_ = true;
    return Fail(std::string(limit) + " limit exceeded: " + std::to_string(count) + " > " +
                std::to_string(maximum));
}

template <typename T, typename Name>
bool MDMReader::ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                          const Name& what) {
    // No record is read, so where the offset points does not matter.
    if (count == 0) {
        array.clear();
        return true;
    }
    if (!file_.Fits(offset, count, sizeof(T))) {
        return Fail("the file ends before " + MessageName(what) + " (" + std::to_string(count) +
                    " records at offset " + std::to_string(offset) + ")");
    }
    const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(T));
    if (bytes > budget_) {
        return Fail("the file stores " + MessageName(what) + " over data already read");
    }
    budget_ -= bytes;
    array.resize(static_cast<std::size_t>(count));
    return file_.ReadAt(offset, array.data(), bytes) ||
           Fail(MessageName(what) + " could not be read");
}

template <typename T, typename Name>
bool MDMReader::ReadRecord(std::int64_t offset, T& record, const Name& what) {
    const auto bytes = static_cast<std::int64_t>(sizeof(T));
    if (bytes > budget_) {
        return Fail("the file stores " + MessageName(what) + " over data already read");
    }
    if (!file_.ReadAt(offset, &record, bytes)) {
        return Fail(MessageName(what) + " lies outside the file");
    }
    budget_ -= bytes;
    return true;
}

bool MDMReader::ReadHeader(TMDMHeader& header) {
    if (!file_.ReadAt(0, &header, sizeof header)) {
        return Fail("the file is shorter than an MDM header (100 bytes)");
    }
    if (std::memcmp(header.ident, kMDMIdent, 4) != 0) {
        return Fail("not an MDM file (the identifier is not MDMW)");
    }
    return true;
}

bool MDMReader::ReadSurfaces(const TMDMHeader& header, TMDM& mesh) {
    // Every surface needs at least its own header inside the file.
    if (!FitsOrEmpty(file_, header.ofsSurfaces, header.numSurfaces, sizeof(TMDMSurfaceHeader))) {
        return Fail("the " + Counted(header.numSurfaces, "surface", "surfaces") + " at offset " +
                    std::to_string(header.ofsSurfaces) + " do not fit in the file");
    }
    if (!WithinLimit("MAX_SURFACES", header.numSurfaces, kMDMMaxSurfaces)) return false;
    mesh.surfaces.resize(header.numSurfaces);
    std::int64_t position = header.ofsSurfaces;
    for (std::size_t i = 0; i < mesh.surfaces.size(); ++i) {
        TMDMSurface& surface = mesh.surfaces[i];
        if (!ReadSurface(static_cast<int>(i), position, surface)) return false;
        if (i < mesh.lod.size()) {
            const auto verts = static_cast<std::int32_t>(surface.numVerts);
            mesh.lod[i] = {verts, verts};
        }
        position += surface.ofsEnd;
    }
    return true;
}

bool MDMReader::ReadSurface(int index, std::int64_t position, TMDMSurface& surface) {
    const std::string what = "surface " + std::to_string(index);
    TMDMSurfaceHeader record;
    if (!ReadRecord(position, record, "the header of " + what)) return false;
    static_cast<TMDMSurfaceHeader&>(surface) = record;

    // Each vertex takes at least its fixed part; checked before the question is asked.
    if (!FitsOrEmpty(file_, position + record.ofsVerts, record.numVerts,
                     sizeof(TMDMVertexRecord))) {
        return Fail("the " + Counted(record.numVerts, "vertex", "vertices") + " of " + what +
                    " do not fit in the file");
    }
    if (!FitsOrEmpty(file_, position + record.ofsTriangles, record.numTriangles,
                     sizeof(TMDMTriangle))) {
        return Fail("the " + Counted(record.numTriangles, "triangle", "triangles") + " of " + what +
                    " do not fit in the file");
    }
    if (!WithinLimit("MAX_VERTICES", record.numVerts, kMDMMaxVertices) ||
        !WithinLimit("MAX_TRIANGLES", record.numTriangles, kMDMMaxTriangles) ||
        !ReadVertices(position + record.ofsVerts, surface, what) ||
        !ReadArray(position + record.ofsTriangles, record.numTriangles, surface.triangles,
                   "the triangles of " + what) ||
        !ReadArray(position + record.ofsCollapseMap, record.numVerts, surface.collapseMap,
                   "the collapse map of " + what) ||
        !ReadArray(position + record.ofsBoneReferences, record.numBoneReferences,
                   surface.boneReferences, "the bone references of " + what)) {
        return false;
    }
    const std::string problem =
        SurfaceIndexProblem(surface.triangles, surface.collapseMap, record.numVerts, what);
    return problem.empty() || Fail(problem);
}

bool MDMReader::ReadVertices(std::int64_t offset, TMDMSurface& surface, const std::string& what) {
    surface.vertices.resize(surface.numVerts);
    for (std::size_t i = 0; i < surface.vertices.size(); ++i) {
        TMDMVertex& vertex = surface.vertices[i];
        const auto which = [&what, i] { return "vertex " + std::to_string(i) + " of " + what; };
        if (!ReadRecord(offset, static_cast<TMDMVertexRecord&>(vertex), which)) return false;
        if (vertex.numWeights < 0) return Fail(which() + " has a negative weight count");
        offset += std::int64_t{sizeof(TMDMVertexRecord)};
        if (!ReadArray(offset, vertex.numWeights, vertex.weights,
                       [&which] { return "the weights of " + which(); })) {
            return false;
        }
        offset += std::int64_t{sizeof(TMDMWeight)} * vertex.numWeights;
        for (const TMDMWeight& w : vertex.weights) {
            if (w.boneIndex < 0) {
                return Fail(which() + " has a weight on bone " + std::to_string(w.boneIndex));
            }
        }
    }
    return true;
}

bool MDMReader::ReadTags(const TMDMHeader& header, std::vector<TMDMTag>& tags) {
    if (!FitsOrEmpty(file_, header.ofsTags, header.numTags, sizeof(TMDMTagRecord))) {
        return Fail("the " + Counted(header.numTags, "tag", "tags") + " at offset " +
                    std::to_string(header.ofsTags) + " do not fit in the file");
    }
    if (!WithinLimit("MAX_TAGS", header.numTags, kMDMMaxTags)) return false;
    tags.resize(header.numTags);
    std::int64_t position = header.ofsTags;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        TMDMTag& tag = tags[i];
        const std::string what = "tag " + std::to_string(i);
        if (!ReadRecord(position, static_cast<TMDMTagRecord&>(tag), what)) return false;
        if (tag.boneIndex < 0) {
            return Fail(what + " is attached to bone " + std::to_string(tag.boneIndex));
        }
        // The references follow the record directly; the tag's own offsets are not used.
        position += std::int64_t{sizeof(TMDMTagRecord)};
        if (!ReadArray(position, tag.numBoneReferences, tag.boneReferences,
                       "the bone references of " + what)) {
            return false;
        }
        position += std::int64_t{sizeof(TMDMSurfaceBoneRefs)} * tag.numBoneReferences;
    }
    return true;
}

}  // namespace

bool TMDM::LoadFromFile(const std::string& fileName, UserPrompts& prompts) {
    lastError_.clear();
    Clear();
    const FileImage file(fileName, kMaxFileBytes);
    if (!file.ok()) {
        lastError_ = file.error();
        return false;
    }
    return LoadFrom(file, prompts);
}

bool TMDM::LoadFrom(const ByteSource& file, UserPrompts& prompts) {
    lastError_.clear();
    Clear();
    MDMReader reader(file, prompts, lastError_);
    const bool read = reader.ReadHeader(header) && reader.ReadSurfaces(header, *this) &&
                      reader.ReadTags(header, tags);
    // Half a model is of no use to anyone and its counts would not match its arrays.
    if (!read) Clear();
    return read;
}

bool TMDM::LoadTagsFromFile(const std::string& fileName, UserPrompts& prompts) {
    lastError_.clear();
    const FileImage file(fileName, kMaxFileBytes);
    if (!file.ok()) {
        lastError_ = file.error();
        return false;
    }
    return LoadTagsFrom(file, prompts);
}

bool TMDM::LoadTagsFrom(const ByteSource& file, UserPrompts& prompts) {
    lastError_.clear();
    if (!IsValid()) {
        lastError_ = "no MDM mesh is loaded";
        return false;
    }
    MDMReader reader(file, prompts, lastError_);
    TMDMHeader other;
    std::vector<TMDMTag> read;
    if (!reader.ReadHeader(other) || !reader.ReadTags(other, read)) {
        if (reader.declined()) Clear();
        return false;
    }
    tags = std::move(read);
    header.numTags = other.numTags;
    return true;
}
