// Reading an MD3 file. Offsets are honoured as stored, so blocks may come in any order and
// surfaces may have gaps between them. Nothing in the file is trusted: every count and
// offset is checked against the real file size before anything is allocated.
#include <cstdint>
#include <cstring>
#include <string>

#include "io/binary_file.h"
#include "io/large_pages.h"
#include "md3/md3.h"
#include "md3/md3_surface_read.h"
#include "mdc/mdc.h"

namespace {

// Legitimate files never store a byte twice, so the data a reader may copy out of a file
// is capped at a small multiple of its size. This bounds memory and time for files whose
// offsets point many surfaces at the same bytes.
constexpr std::int64_t kReadBudgetFactor = 4;

class MD3Reader {
  public:
    MD3Reader(const ByteSource& file, THeader& header, TMD3FileLayout& layout, std::string& error,
              bool keepVertices)
        : file_(file),
          header_(header),
          layout_(layout),
          error_(error),
          budget_(kReadBudgetFactor * file.size()),
          keepVertices_(keepVertices) {}

    bool Read();

  private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }

    // Checks that `count` records of `recordSize` bytes at `offset` lie in the file and
    // within the budget, and takes them from the budget. `plural` names the arrays whose
    // description reads as a plural ("the texture coordinates of surface 0").
    bool Claim(std::int64_t offset, std::int64_t count, std::int64_t recordSize,
               const std::string& what, bool plural = false);
    // Sizes `array` to `count` records and fills it from `offset`.
    template <typename T>
    bool ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                   const std::string& what, bool plural = false);
    bool ReadSurface(int index, std::int64_t position);

    const ByteSource& file_;
    THeader& header_;
    TMD3FileLayout& layout_;
    std::string& error_;
    std::int64_t budget_;
    bool keepVertices_;
};

bool MD3Reader::Claim(std::int64_t offset, std::int64_t count, std::int64_t recordSize,
                      const std::string& what, bool plural) {
    if (count < 0) return Fail(what + (plural ? " have" : " has") + " a negative count");
    // No record is read, so where the offset of an empty array points does not matter.
    if (count == 0) return true;
    if (!file_.Fits(offset, count, recordSize)) {
        return Fail(what + " (" + std::to_string(count) + " records at offset " +
                    std::to_string(offset) + ")" + (plural ? " run" : " runs") +
                    " past the end of the file");
    }
    const std::int64_t bytes = count * recordSize;
    if (bytes > budget_) {
        return Fail(what + (plural ? " overlap" : " overlaps") + " data that was already read");
    }
    budget_ -= bytes;
    return true;
}

template <typename T>
bool MD3Reader::ReadArray(std::int64_t offset, std::int64_t count, std::vector<T>& array,
                          const std::string& what, bool plural) {
    if (!Claim(offset, count, sizeof(T), what, plural)) return false;
    if (count == 0) {
        array.clear();
        return true;
    }
    array.clear();
    array.reserve(static_cast<std::size_t>(count));
    PrepareFreshArray(array.data(), count * static_cast<std::int64_t>(sizeof(T)));
    array.resize(static_cast<std::size_t>(count));
    const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(T));
    if (!file_.ReadAt(offset, array.data(), bytes)) return Fail(what + " could not be read");
    return true;
}

bool MD3Reader::Read() {
    TMD3HeaderRecord record;
    if (!file_.ReadAt(0, &record, sizeof record)) {
        return Fail("the file is shorter than an MD3 header (108 bytes)");
    }
    static_cast<TMD3HeaderRecord&>(header_) = record;
    layout_.header = record;
    if (std::memcmp(record.ident, kMD3Ident, 4) != 0) {
        return Fail("not an MD3 file (the identifier is not IDP3)");
    }
    if (record.numFrames < 0) return Fail("the frame count is negative");
    if (record.numTags < 0) return Fail("the tag count is negative");
    if (record.numSurfaces < 0) return Fail("the surface count is negative");

    if (!ReadArray(record.ofsFrames, record.numFrames, header_.frames, "the frame array")) {
        return false;
    }
    if (record.numTags != 0) {
        const std::int64_t tagCount = std::int64_t{record.numFrames} * record.numTags;
        if (!ReadArray(record.ofsTags, tagCount, header_.tags, "the tag array")) return false;
    }

    // Every surface needs at least its own header inside the file.
    const std::int64_t headerBytes =
        std::int64_t{record.numSurfaces} * std::int64_t{sizeof(TMD3SurfaceRecord)};
    if (record.numSurfaces > 0 &&
        (!file_.Fits(record.ofsSurfaces, record.numSurfaces, sizeof(TMD3SurfaceRecord)) ||
         headerBytes > budget_)) {
        return Fail(record.numSurfaces == 1 ? std::string("the surface does not fit in the file")
                                            : "the " + std::to_string(record.numSurfaces) +
                                                  " surfaces do not fit in the file");
    }
    header_.surfaces.resize(static_cast<std::size_t>(record.numSurfaces));
    std::int64_t position = record.ofsSurfaces;
    for (int i = 0; i < record.numSurfaces; ++i) {
        if (!ReadSurface(i, position)) return false;
        position += header_.surfaces[i].ofsEnd;
    }
    // A model read without its vertices is never written.
    if (keepVertices_) CompleteFileLayout(file_, layout_);
    return true;
}

bool MD3Reader::ReadSurface(int index, std::int64_t position) {
    const std::string what = "surface " + std::to_string(index);
    TSurface& surface = header_.surfaces[index];
    TMD3SurfaceRecord record;
    if (budget_ < std::int64_t{sizeof record} || !file_.ReadAt(position, &record, sizeof record)) {
        return Fail("the header of " + what + " lies outside the file");
    }
    budget_ -= sizeof record;
    static_cast<TMD3SurfaceRecord&>(surface) = record;
    layout_.surfaces.push_back(record);
    layout_.surfacePositions.push_back(position);

    if (!ReadArray(position + record.ofsShaders, record.numShaders, surface.shaders,
                   "the shader array of " + what)) {
        return false;
    }
    if (!ReadArray(position + record.ofsTriangles, record.numTriangles, surface.triangles,
                   "the triangle array of " + what) ||
        !ReadArray(position + record.ofsST, record.numVerts, surface.texCoords,
                   "the texture coordinates of " + what, true)) {
        return false;
    }
    // The surface's own frame count is unreliable (files in the wild store 0), so the
    // vertex array always holds the model's frames.
    const std::int64_t vertexCount = std::int64_t{record.numVerts} * header_.numFrames;
    const std::int64_t vertexOffset = position + record.ofsXyzNormals;
    const std::string vertexArray = "the vertex array of " + what;
    const bool verticesFit =
        keepVertices_ ? ReadArray(vertexOffset, vertexCount, surface.vertices, vertexArray)
                      : Claim(vertexOffset, vertexCount, sizeof(TMD3Vertex), vertexArray);
    if (!verticesFit) return false;
    const std::string bad = CompleteSurfaceAsRead(surface, record.numVerts, what);
    if (!bad.empty()) return Fail(bad);
    return true;
}

}  // namespace

bool TMD3::LoadFromFile(const std::string& fileName) {
    return LoadFrom(BinaryFile(fileName));
}

bool TMD3::LoadFrom(const ByteSource& source) {
    lastError_.clear();
    Clear();
    if (IsMDCFile(source)) return LoadMDC(source);
    MD3Reader reader(source, header, layoutAsRead, lastError_, true);
    return reader.Read();
}

bool TMD3::LoadLayoutFromFile(const std::string& fileName) {
    return LoadLayoutFrom(BinaryFile(fileName));
}

bool TMD3::LoadLayoutFrom(const ByteSource& source) {
    lastError_.clear();
    Clear();
    // Compressed files are small and decoded whole; the vertices then go, as the promise is.
    if (IsMDCFile(source)) {
        if (!LoadMDC(source)) return false;
        for (TSurface& s : header.surfaces)
            s.vertices.clear();
        return true;
    }
    MD3Reader reader(source, header, layoutAsRead, lastError_, false);
    return reader.Read();
}
