// TMD3: the one in-memory MD3 model every loader, converter, edit command and the view share.
// The layout mirrors the file record for record; the header's and surfaces' counts are the
// authority for the array lengths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "math/normal.h"
#include "md3/md3_format.h"

struct TSurface : TMD3SurfaceRecord {
    std::vector<TMD3Shader> shaders;      // numShaders
    std::vector<TMD3Triangle> triangles;  // numTriangles
    std::vector<TMD3TexCoord> texCoords;  // numVerts
    std::vector<TMD3Vertex> vertices;     // numVerts x model numFrames, frame-major
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

    // Empties every array and zeroes the four counts; ident, version, name, flags and the
    // offsets keep their values.
    void Clear();

    // Reads a whole model. Throws FileError when the file cannot be opened; any other
    // problem gives false with the reason in LastError(), and the caller clears the model.
    bool LoadFromFile(const std::string& fileName);

    // Writes the model with recomputed offsets in the fixed order. The file is replaced only
    // when everything was written. Throws FileError when it cannot be created; a write error
    // gives false with the reason in LastError().
    bool SaveToFile(const std::string& fileName);

    // Why the last LoadFromFile or SaveToFile failed.
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
    std::string lastError_;
};

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
