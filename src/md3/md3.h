// TMD3: the one in-memory MD3 model every loader, converter, edit command and the view share.
// The layout mirrors the file record for record; the header's and surfaces' counts are the
// authority for the array lengths.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "math/matrix.h"
#include "math/normal.h"
#include "md3/md3_file_layout.h"
#include "md3/md3_format.h"

class ByteSink;
class ByteSource;
struct TMDCSource;

struct TSurface : TMD3SurfaceRecord {
    std::vector<TMD3Shader> shaders;      // numShaders
    std::vector<TMD3Triangle> triangles;  // numTriangles
    std::vector<TMD3TexCoord> texCoords;  // numVerts
    std::vector<TMD3Vertex> vertices;     // numVerts x model numFrames, frame-major
    // Each t as the file stored it. 1 - (1 - t) need not give t back in its last bit, so the
    // writer stores these bits for every t that still holds the flip of what was read, and a
    // model saved unchanged is the same file. Empty for surfaces built in memory.
    std::vector<float> texCoordTAsRead;
    // The shader records as the file stored them. The window keeps the shader store's row
    // in shaderIndex while it runs; the writer puts the file's value back for every record
    // whose name is unchanged, so that saving does not rewrite numbers of this session.
    std::vector<TMD3Shader> shadersAsRead;
};

struct THeader : TMD3HeaderRecord {
    std::vector<TMD3Frame> frames;   // numFrames
    std::vector<TMD3Tag> tags;       // numFrames x numTags, frame-major
    std::vector<TSurface> surfaces;  // numSurfaces
};

class TMD3 {
  public:
    TMD3();

    THeader header;
    // Where the blocks of the file last read lay; an unchanged model is written back there.
    TMD3FileLayout layoutAsRead;
    // What a model read from an MDC file keeps to be written back as it was; copies share it.
    std::shared_ptr<const TMDCSource> mdcAsRead;
    bool ReadFromMDC() const { return mdcAsRead != nullptr; }

    // Empties every array and zeroes the four counts; ident, version, name, flags and the
    // offsets keep their values. The layout of the file last read is forgotten.
    void Clear();

    // Reads a whole model. Throws FileError when the file cannot be opened; any other
    // problem gives false with the reason in LastError(), and the caller clears the model.
    bool LoadFromFile(const std::string& fileName);
    // The same from a file's bytes held elsewhere (in memory, say); `source` is only read.
    bool LoadFrom(const ByteSource& source);

    // Reads and checks the file as LoadFromFile does but leaves every surface's vertex array
    // empty: enough to list what a file holds, without the vertex positions that make up
    // most of an animated model. The result is not for drawing, editing or saving.
    bool LoadLayoutFromFile(const std::string& fileName);
    bool LoadLayoutFrom(const ByteSource& source);
    // Decodes the bytes of a whole MDC file, as LoadFromFile does a file of them.
    bool LoadMDCFromMemory(std::vector<char> bytes);

    // Writes the model. While every block still has the size it had in the file last read,
    // each goes back where it lay, with the bytes between them, so an unchanged model gives
    // that file again; otherwise the offsets are recomputed in the fixed order. The file is
    // replaced only when everything was written. Throws FileError when it cannot be
    // created; a write error gives false with the reason in LastError().
    bool SaveToFile(const std::string& fileName);
    // The same into a sink the caller prepared (a file writer is finished but not committed,
    // so that the caller decides when the target is replaced). False with the reason in
    // LastError().
    bool WriteTo(ByteSink& out);
    // The same as an MDC file: the file read when nothing changed since, otherwise compressed
    // anew (keeping the compressed frames or tags read while those did not change).
    bool WriteMDCTo(ByteSink& out);

    // Appends the tags of a ".tag" file to every frame. Throws FileError when the file
    // cannot be opened. A file that is too short, not "TAG3" version 1, or holds no tags
    // gives false with the reason in LastError() and leaves the model unchanged, so the
    // caller never reports tags that were not added.
    bool LoadTagsFromFile(const std::string& fileName);
    bool LoadTagsFrom(const ByteSource& source);

    // Appends one tag to every frame.
    void AddTag(const TMD3Tag& tag);
    // Deletes tag `index` from every frame. False, changing nothing, for an index outside
    // the tags or a tag array shorter than the counts say.
    bool RemoveTag(int index);
    // Renames tag `index` in every frame (at most 64 characters kept); false as RemoveTag.
    bool RenameTag(int index, std::string_view name);
    // Moves tag `from` to place `to` in every frame, the tags between moving up or down by
    // one place; false as RemoveTag when either index is outside the tags.
    bool MoveTag(int from, int to);

    // Writes the tags of frame 0 as a ".tag" file. Gives false without creating a file
    // when the model has no tags (LastError() says so), or when writing failed; throws
    // FileError when the file cannot be created. The old file survives every failure.
    bool SaveTagsToFile(const std::string& fileName);
    // The tags of frame 0, as a tag file holds them; false (LastError() says why) when the
    // model has none.
    bool FrameZeroTags(std::vector<TMD3Tag>& tags);

    // Appends frame 0 (or all frames) of another MD3 file holding the same model: the same
    // tag count, first tag name and surface count, and per surface the same shader,
    // triangle and vertex counts. Only frames, tags and vertices are taken over; appended
    // frames are named "K merged". On failure the model is unchanged and `message` holds
    // the status text; on success it is empty. Throws FileError when the file cannot be
    // opened.
    bool AppendFirstFrameFromFile(const std::string& fileName, std::string& message);
    bool AppendAllFramesFromFile(const std::string& fileName, std::string& message);
    // The same from the bytes of the file named `fileName` (named in the messages only).
    bool AppendFramesFrom(const ByteSource& source, const std::string& fileName, bool allFrames,
                          std::string& message);

    // Removes one frame with its tags and vertices. Does nothing (false) for the only
    // frame or an index outside the frames.
    bool DeleteFrame(std::int32_t index);

    // The edits that compute positions return how many stored coordinates fell outside the
    // 16-bit range and were clamped to it, so that the caller can say so.

    int MirrorX();
    int MirrorY();
    int MirrorZ();
    void MirrorNormals();
    void ReverseWinding();

    int RotateX(float degrees);
    int RotateY(float degrees);
    int RotateZ(float degrees);
    // Turns vertices, normals, frame bounds and local origins, and tags with a rotation
    // matrix. A model without surfaces has nothing to bound: its frames stay as they are.
    int RotateModel(const TMatrix4& m);
    // minBounds/maxBounds of a frame from the vertices of all surfaces; (0, 0, 0) when no
    // surface has vertices. An index outside the frames changes nothing.
    void FrameBoundsFromVertices(int frame);
    // After positions of a frame were clamped: its bounds end where a stored position can
    // reach, and its radius is the distance from its local origin to the farthest stored
    // vertex. An index outside the frames changes nothing.
    void FitFrameToStoredRange(int frame);

    // Multiplies positions, bounds, origins, tag origins and radii (by |factor|) by
    // `factor`; 1 changes nothing. A negative factor also mirrors: normals and tag axes are
    // negated and every triangle's winding reversed. Otherwise axes and normals stay.
    int ScaleModel(float factor);

    // Moves the model so that the pivot lies at the origin in every frame. `pivot` indexes
    // the pivot list: 0 ... numTags - 1 are the tags, numTags is the frames' local origin.
    // An index outside the list changes nothing.
    int TagAsOrigin(int pivot);

    void TagsInvertX();
    void TagsInvertY();
    void TagsInvertZ();
    void TagsSwapXY();
    void TagsSwapXZ();
    void TagsSwapYZ();

    // Deletes one surface; false for an index outside the surfaces.
    bool RemoveSurface(int surface);

    // Merges surfaces whose first shader names match (a surface without shader records
    // keys by the empty name) while the merged surface stays within the game's vertex and
    // triangle limits, then closes the gaps by moving the last surfaces forward.
    void CompactSurfaces();

    // Every vertex used by a triangle gets the normal of the last triangle that uses it.
    void CalculateNormals(int surface);
    // Vertices within 0.02 of each other on every axis share their averaged normal.
    void SmoothSurface(int surface);
    // Vertices closer than |distance| on every axis snap to the lowest-numbered one.
    void WeldVertices(int surface, float distance);

    // Why the last LoadFromFile, SaveToFile, LoadTagsFromFile or SaveTagsToFile failed.
    const std::string& LastError() const { return lastError_; }

    // Sizes in bytes of the blocks as the writer lays them out; the per-surface ones are 0
    // for an index outside the surfaces.
    static constexpr std::int64_t HeaderSize() { return sizeof(TMD3HeaderRecord); }
    static constexpr std::int64_t SurfaceHeaderSize() { return sizeof(TMD3SurfaceRecord); }
    std::int64_t FramesSize() const;
    std::int64_t TagsSize() const;
    std::int64_t ShadersSize(int surface) const;
    std::int64_t TrianglesSize(int surface) const;
    std::int64_t TexCoordsSize(int surface) const;
    std::int64_t VerticesSize(int surface) const;
    std::int64_t SurfaceSize(int surface) const;
    std::int64_t SurfacesSize() const;

    bool IsMD3() const;
    bool IsEmpty() const;
    bool ValidSurface(int surface) const {
        return surface >= 0 && surface < header.numSurfaces &&
               surface < static_cast<int>(header.surfaces.size());
    }

    // t := 1 - t for every texture coordinate of the surface.
    void FlipTexCoordT(int surface);

    // Writes text into the first shader record's name of a surface that has one.
    void SetShaderName(int surface, std::string_view text);

    static std::uint16_t EncodeNormal(TVector3 v) { return ::EncodeNormal(v); }
    static std::uint16_t EncodeNormal(float x, float y, float z) { return ::EncodeNormal(x, y, z); }
    static TVector3 DecodeNormal(std::uint16_t word) { return ::DecodeNormal(word); }

  private:
    // One stretch of the file being written and the records written where memory does not
    // hold them in file form.
    struct Piece {
        std::int64_t offset = 0;
        const void* data = nullptr;
        std::int64_t bytes = 0;
    };
    struct FileRecords {
        std::vector<std::int64_t> surfacePositions;
        std::vector<std::vector<TMD3Shader>> shaders;
        std::vector<std::vector<TMD3TexCoord>> texCoords;
    };
    // Set the offsets in memory and list the pieces of the file in the order they are
    // written. PlaceAsRead gives false when the layout of the file read no longer fits.
    void PlaceCanonically(FileRecords& records, std::vector<Piece>& pieces);
    bool PlaceAsRead(FileRecords& records, std::vector<Piece>& pieces);
    void PlaceBlocks(FileRecords& records, std::vector<Piece>& pieces);

    // Whether the arrays hold what the counts say and the file's offsets can hold it all;
    // the reason goes to LastError().
    bool CanBeWritten();
    // FitFrameToStoredRange for every frame with a clamped coordinate.
    void FitClampedFrames(const std::vector<int>& clampedInFrame);
    bool LoadMDC(const ByteSource& source);
    void MirrorAxis(int axis, int& clamped);
    void TransformTags(const TMatrix4& m);

    std::string lastError_;
};

// The status text of the tag commands for a model that has not exactly one frame.
inline constexpr const char* kTagsNeedOneFrameText =
    "Invalid action: It is not possible to add tags for animated MD3 models";

// The name appended frames get.
inline constexpr const char* kMergedFrameName = "K merged";

// The ".tag" file identifier and version.
inline constexpr char kTagFileIdent[4] = {'T', 'A', 'G', '3'};
inline constexpr std::int32_t kTagFileVersion = 1;
inline constexpr std::int64_t kTagFileHeaderSize = 16;

// A stored 16-bit position for a coordinate (x 64, ties to even), clamped to the range;
// `clamped` counts the coordinates that did not fit. NaN counts and becomes 0.
std::int16_t StoredCoordinate(float coordinate, int& clamped);
// The same for a value already in stored units.
std::int16_t ClampStored(double stored, int& clamped);

// The shader records and texture coordinates of a surface as a file holds them: t unflipped
// with the bits read wherever it still is the flip of them, and the number read in every
// shader record whose name did not change.
void FileShaders(const TSurface& s, std::vector<TMD3Shader>& fileShaders);
void FileTexCoords(const TSurface& s, std::vector<TMD3TexCoord>& fileTexCoords);

// Copies the first min(length, 64) characters of text and pads with zero bytes.
void SetName64(std::string_view text, char (&field)[kMD3NameLength]);

// Copies up to N characters and pads with zero bytes (no terminator when full).
template <std::size_t N>
void SetNameField(std::string_view text, char (&field)[N]) {
    std::size_t n = text.size() < N ? text.size() : N;
    for (std::size_t i = 0; i < N; ++i)
        field[i] = i < n ? text[i] : '\0';
}

// The text of a zero-padded name field: up to the first zero byte or the field's end.
template <std::size_t N>
std::string NameFieldText(const char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != '\0')
        ++n;
    return std::string(field, n);
}
