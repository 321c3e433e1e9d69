#include "model_factory.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

void InitHeader(TMD3& model, const std::string& name, int frames, int tags, int surfaces) {
    model.Clear();
    THeader& h = model.header;
    std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), h.ident);
    h.version = kMD3Version;
    SetName64(name, h.name);
    h.flags = 0;
    h.numFrames = frames;
    h.numTags = tags;
    h.numSurfaces = surfaces;
    h.frames.resize(frames);
    h.tags.resize(static_cast<std::size_t>(frames) * tags);
    h.surfaces.resize(surfaces);
}

void InitSurface(TSurface& s, const std::string& name, int frames, int verts, int triangles,
                 int shaders) {
    std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), s.ident);
    SetName64(name, s.name);
    s.numFrames = frames;
    s.numShaders = shaders;
    s.numVerts = verts;
    s.numTriangles = triangles;
    s.shaders.resize(shaders);
    for (int i = 0; i < shaders; ++i) {
        SetName64("textures/sample/" + name + "_" + std::to_string(i), s.shaders[i].name);
    }
    s.triangles.resize(triangles);
    s.texCoords.resize(verts);
    s.vertices.resize(static_cast<std::size_t>(verts) * frames);
}

std::int16_t ToFixed(float coordinate) {
    return static_cast<std::int16_t>(std::nearbyint(coordinate * 64.0f));
}

// Bounds, origin and radius of every frame from the vertices of all surfaces.
void FillFrames(TMD3& model) {
    THeader& h = model.header;
    for (int f = 0; f < h.numFrames; ++f) {
        TVector3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
        for (const TSurface& s : h.surfaces) {
            for (int v = 0; v < s.numVerts; ++v) {
                const TMD3Vertex& p = s.vertices[static_cast<std::size_t>(f) * s.numVerts + v];
                const TVector3 q{p.x * kMD3XyzScale, p.y * kMD3XyzScale, p.z * kMD3XyzScale};
                lo = {std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z)};
                hi = {std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z)};
            }
        }
        if (lo.x > hi.x) lo = hi = kVectorZero;
        TMD3Frame& frame = h.frames[f];
        frame.minBounds = lo;
        frame.maxBounds = hi;
        frame.localOrigin = kVectorZero;
        frame.radius = std::max(VectorLength(lo), VectorLength(hi));
        SetNameField("frame" + std::to_string(f), frame.name);
    }
}

}  // namespace

void MakeModel(TMD3& model, const ModelShape& shape) {
    InitHeader(model, "models/generated/model.md3", shape.frames, shape.tags, shape.surfaces);
    THeader& h = model.header;
    const int ring = std::max(3, std::min(shape.vertsPerSurface, 16));
    const int rows = std::max(1, shape.vertsPerSurface / ring);
    for (int si = 0; si < shape.surfaces; ++si) {
        TSurface& s = h.surfaces[si];
        const int verts = shape.vertsPerSurface;
        const int strips = rows > 1 ? (rows - 1) * ring * 2 : 0;
        InitSurface(s, "surface" + std::to_string(si), shape.frames, verts, strips,
                    shape.shadersPerSurface);
        int t = 0;
        for (int r = 0; r + 1 < rows; ++r) {
            for (int k = 0; k < ring; ++k) {
                const int a = r * ring + k, b = r * ring + (k + 1) % ring;
                s.triangles[t++] = {{a, b, a + ring}};
                s.triangles[t++] = {{b, b + ring, a + ring}};
            }
        }
        for (int v = 0; v < verts; ++v) {
            s.texCoords[v] = {static_cast<float>(v % ring) / ring,
                              static_cast<float>(v / ring) / rows};
        }
        for (int f = 0; f < shape.frames; ++f) {
            const float radius = 10.0f + si + 0.5f * f;
            for (int v = 0; v < verts; ++v) {
                const float angle = 6.2831853f * static_cast<float>(v % ring) / ring;
                const TVector3 n{std::cos(angle), std::sin(angle), 0.0f};
                const float z = static_cast<float>(v / ring) * 2.0f - si;
                s.vertices[static_cast<std::size_t>(f) * verts + v] = {
                    ToFixed(n.x * radius), ToFixed(n.y * radius), ToFixed(z), EncodeNormal(n)};
            }
        }
    }
    for (int f = 0; f < shape.frames; ++f) {
        for (int ti = 0; ti < shape.tags; ++ti) {
            TMD3Tag& tag = h.tags[static_cast<std::size_t>(f) * shape.tags + ti];
            SetName64("tag_" + std::to_string(ti), tag.name);
            tag.origin = {static_cast<float>(ti), 0.25f * f, 1.0f};
            tag.axis[0] = kVectorPosX;
            tag.axis[1] = kVectorPosY;
            tag.axis[2] = kVectorPosZ;
        }
    }
    FillFrames(model);
}

void MakeCube(TMD3& model) {
    InitHeader(model, "models/sample/cube.md3", 1, 1, 1);
    THeader& h = model.header;
    TSurface& s = h.surfaces[0];
    InitSurface(s, "cube", 1, 24, 12, 1);
    SetName64("textures/sample/cube", s.shaders[0].name);
    const TVector3 normals[6] = {kVectorPosX, kVectorNegX, kVectorPosY,
                                 kVectorNegY, kVectorPosZ, kVectorNegZ};
    const float half = 16.0f;
    for (int face = 0; face < 6; ++face) {
        const TVector3 n = normals[face];
        // Two axes spanning the face, ordered so the triangles wind outwards.
        const TVector3 u = std::fabs(n.z) > 0.5f ? kVectorPosX : kVectorPosZ;
        const TVector3 w = VectorCross(n, u);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int c = 0; c < 4; ++c) {
            const TVector3 p = (n + u * corners[c][0] + w * corners[c][1]) * half;
            const int v = face * 4 + c;
            s.vertices[v] = {ToFixed(p.x), ToFixed(p.y), ToFixed(p.z), EncodeNormal(n)};
            s.texCoords[v] = {(corners[c][0] + 1) / 2, (corners[c][1] + 1) / 2};
        }
        const int b = face * 4;
        s.triangles[face * 2] = {{b, b + 2, b + 1}};
        s.triangles[face * 2 + 1] = {{b, b + 3, b + 2}};
    }
    TMD3Tag& tag = h.tags[0];
    SetName64("tag_top", tag.name);
    tag.origin = {0, 0, half};
    tag.axis[0] = kVectorPosX;
    tag.axis[1] = kVectorPosY;
    tag.axis[2] = kVectorPosZ;
    FillFrames(model);
}
