#include "md3/md3.h"

#include <cstring>

TMD3::TMD3() {
    Clear();
}

void TMD3::Clear() {
    header.frames.clear();
    header.tags.clear();
    for (TSurface& s : header.surfaces) {
        s.shaders.clear();
        s.triangles.clear();
        s.texCoords.clear();
        s.texCoordTAsRead.clear();
        s.shadersAsRead.clear();
        s.vertices.clear();
    }
    header.surfaces.clear();
    header.numFrames = 0;
    header.numTags = 0;
    header.numSurfaces = 0;
    header.numSkins = 0;
    layoutAsRead = TMD3FileLayout{};
    mdcAsRead.reset();
}

std::int64_t TMD3::FramesSize() const {
    return std::int64_t{header.numFrames} * std::int64_t{sizeof(TMD3Frame)};
}

std::int64_t TMD3::TagsSize() const {
    return std::int64_t{header.numFrames} * header.numTags * std::int64_t{sizeof(TMD3Tag)};
}

std::int64_t TMD3::ShadersSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{header.surfaces[surface].numShaders} * std::int64_t{sizeof(TMD3Shader)};
}

std::int64_t TMD3::TrianglesSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{header.surfaces[surface].numTriangles} * std::int64_t{sizeof(TMD3Triangle)};
}

std::int64_t TMD3::TexCoordsSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return std::int64_t{header.surfaces[surface].numVerts} * std::int64_t{sizeof(TMD3TexCoord)};
}

std::int64_t TMD3::VerticesSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    // The model's frame count, not the surface's copy: files in the wild store 0 there.
    return std::int64_t{header.surfaces[surface].numVerts} * header.numFrames *
           std::int64_t{sizeof(TMD3Vertex)};
}

std::int64_t TMD3::SurfaceSize(int surface) const {
    if (!ValidSurface(surface)) return 0;
    return SurfaceHeaderSize() + ShadersSize(surface) + TrianglesSize(surface) +
           TexCoordsSize(surface) + VerticesSize(surface);
}

std::int64_t TMD3::SurfacesSize() const {
    std::int64_t total = 0;
    for (int i = 0; i < header.numSurfaces; ++i)
        total += SurfaceSize(i);
    return total;
}

bool TMD3::IsMD3() const {
    return std::memcmp(header.ident, kMD3Ident, 4) == 0;
}

bool TMD3::IsEmpty() const {
    return header.numFrames == 0 && header.numTags == 0 && header.numSurfaces == 0 &&
           header.numSkins == 0 && header.frames.empty() && header.tags.empty() &&
           header.surfaces.empty();
}

void TMD3::FlipTexCoordT(int surface) {
    if (!ValidSurface(surface)) return;
    for (TMD3TexCoord& tc : header.surfaces[surface].texCoords)
        tc.t = 1.0f - tc.t;
}

void TMD3::SetShaderName(int surface, std::string_view text) {
    if (!ValidSurface(surface)) return;
    TSurface& s = header.surfaces[surface];
    if (s.shaders.empty()) return;
    SetName64(text, s.shaders[0].name);
}

void SetName64(std::string_view text, char (&field)[kMD3NameLength]) {
    SetNameField(text, field);
}
