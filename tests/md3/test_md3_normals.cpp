// Recomputed, smoothed and welded vertices, frame by frame.
#include <gtest/gtest.h>

#include "md3/md3.h"

namespace {

// One surface with the given vertices in every frame (frame f moved up by f units).
TMD3 Surface(const std::vector<TMD3Vertex>& verts, const std::vector<TMD3Triangle>& tris,
             int frames = 1) {
    TMD3 model;
    THeader& h = model.header;
    h.numFrames = frames;
    h.frames.resize(frames);
    h.numSurfaces = 1;
    h.surfaces.resize(1);
    TSurface& s = h.surfaces[0];
    s.numFrames = frames;
    s.numShaders = 1;
    s.shaders.resize(1);
    s.numVerts = static_cast<int>(verts.size());
    s.numTriangles = static_cast<int>(tris.size());
    s.triangles = tris;
    s.texCoords.resize(verts.size());
    for (int f = 0; f < frames; ++f) {
        for (TMD3Vertex v : verts) {
            v.z = static_cast<std::int16_t>(v.z + 64 * f);
            s.vertices.push_back(v);
        }
    }
    return model;
}

const TMD3Vertex& Vertex(const TMD3& m, int f, int v) {
    const TSurface& s = m.header.surfaces[0];
    return s.vertices[static_cast<std::size_t>(f) * s.numVerts + v];
}

TEST(MD3Normals, EachVertexTakesTheLastTriangleThatUsesIt) {
    const std::vector<TMD3Triangle> quad = {{{0, 1, 2}}, {{0, 2, 3}}};
    const std::uint16_t unused = EncodeNormal(kVectorPosX);
    TMD3 flat = Surface(
        {{0, 0, 0, 0}, {64, 0, 0, 0}, {64, 64, 0, 0}, {0, 64, 0, 0}, {9, 9, 9, unused}}, quad, 2);
    flat.CalculateNormals(0);
    // (p0 - p1) x (p2 - p1) for (0,1,2): (-1,0,0) x (0,1,0) = (0,0,-1).
    for (int f = 0; f < 2; ++f) {
        for (int v = 0; v < 4; ++v)
            EXPECT_EQ(Vertex(flat, f, v).normal, kNormalNegZ) << f << " " << v;
        EXPECT_EQ(Vertex(flat, f, 4).normal, unused);
    }

    // Vertex 3 lifted: the second triangle tilts and wins for 0 and 2; vertex 1 keeps the
    // first triangle's normal, so nothing is averaged.
    TMD3 bent = Surface({{0, 0, 0, 0}, {64, 0, 0, 0}, {64, 64, 0, 0}, {0, 64, 64, 0}}, quad);
    bent.CalculateNormals(0);
    const TVector3 second = TriangleNormal({0, 1, 1}, {1, 1, 0}, {0, 0, 0});
    EXPECT_EQ(Vertex(bent, 0, 0).normal, EncodeNormal(second));
    EXPECT_EQ(Vertex(bent, 0, 2).normal, EncodeNormal(second));
    EXPECT_EQ(Vertex(bent, 0, 3).normal, EncodeNormal(second));
    EXPECT_EQ(Vertex(bent, 0, 1).normal, kNormalNegZ);

    const TMD3 before = bent;
    bent.CalculateNormals(1);
    bent.CalculateNormals(-1);
    EXPECT_EQ(Vertex(bent, 0, 1).normal, Vertex(before, 0, 1).normal);
}

TEST(MD3Normals, SmoothingAveragesOnlyCoincidingVertices) {
    const std::uint16_t x = EncodeNormal(kVectorPosX), y = EncodeNormal(kVectorPosY);
    TMD3 model = Surface({{10, 10, 10, x}, {10, 10, 10, y}, {12, 10, 10, y}}, {}, 2);
    // Frame 1 moves vertex 1 away: there the normals stay.
    model.header.surfaces[0].vertices[3 + 1].x = 100;
    model.SmoothSurface(0);
    const std::uint16_t both = EncodeNormal(0.7071f, 0.7071f, 0.0f);
    EXPECT_EQ(Vertex(model, 0, 0).normal, both);
    EXPECT_EQ(Vertex(model, 0, 1).normal, both);
    EXPECT_EQ(Vertex(model, 0, 2).normal, y);  // two stored units (0.03125) away
    EXPECT_EQ(Vertex(model, 1, 0).normal, x);
    EXPECT_EQ(Vertex(model, 1, 1).normal, y);
}

TEST(MD3Normals, WeldingSnapsTowardsTheLowestNumberedVertex) {
    const std::vector<TMD3Vertex> row = {{0, 5, 5, 1}, {8, 5, 5, 2}, {16, 5, 5, 3}};
    for (float d : {0.15f, -0.15f}) {
        TMD3 model = Surface(row, {}, 2);
        model.WeldVertices(0, d);
        for (int f = 0; f < 2; ++f) {
            EXPECT_EQ(Vertex(model, f, 0).x, 0);
            EXPECT_EQ(Vertex(model, f, 1).x, 0);
            EXPECT_EQ(Vertex(model, f, 2).x, 16);
            EXPECT_EQ(Vertex(model, f, 1).normal, 2);
            EXPECT_EQ(Vertex(model, f, 1).z, 5 + 64 * f);
        }
    }
    // Vertex 2 lies within reach of both 0 and 1; the lowest-numbered one wins.
    TMD3 chain = Surface({{0, 0, 0, 0}, {8, 0, 0, 0}, {4, 0, 0, 0}}, {});
    chain.WeldVertices(0, 0.1f);
    EXPECT_EQ(Vertex(chain, 0, 2).x, 0);

    TMD3 none = Surface(row, {});
    none.WeldVertices(0, 0.0f);
    none.WeldVertices(0, 0.125f);  // exactly the distance: not closer
    EXPECT_EQ(Vertex(none, 0, 1).x, 8);
}

}  // namespace
