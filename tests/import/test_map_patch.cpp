// Patches tessellated as the map compiler does: straight spans collapse, curves are
// subdivided by their length, patches that touch share their subdivision, and patchDef3 keeps
// its own steps.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>

#include "import/level_map.h"
#include "import/map_text.h"

using namespace map_text;

namespace {

// A 3 x 3 patch over the map's (x, y) plane at height z: the file lists it column by column,
// so `grid[column][row]`.
std::string Patch(const char* keyword, const char* info, const TVector3 (&grid)[3][3]) {
    std::ostringstream out;
    out << "{\n" << keyword << "\n{\ntex\n" << info << "\n(\n";
    for (int c = 0; c < 3; ++c) {
        out << "( ";
        for (int r = 0; r < 3; ++r)
            out << "( " << grid[c][r].x << ' ' << grid[c][r].y << ' ' << grid[c][r].z << ' ' << c
                << ' ' << r << " ) ";
        out << ")\n";
    }
    out << ")\n}\n}\n";
    return out.str();
}

// A quarter of a cylinder of the given radius around the z axis, 64 units high: curved
// across its columns, straight along its rows.
std::string QuarterPipe(float radius, float z = 0, float x = 0) {
    const float r = radius + x;
    const TVector3 grid[3][3] = {{{r, 0, z}, {r, 0, z + 32}, {r, 0, z + 64}},
                                 {{r, radius, z}, {r, radius, z + 32}, {r, radius, z + 64}},
                                 {{x, radius, z}, {x, radius, z + 32}, {x, radius, z + 64}}};
    return Patch("patchDef2", "( 3 3 0 0 0 )", grid);
}

TLevelMap Loaded(const std::string& text) {
    TLevelMap map;
    map.LoadMapText(text, "test");
    return map;
}

}  // namespace

TEST(MapPatch, TessellationFollowsTheCompiler) {
    const TVector3 flat[3][3] = {{{0, 0, 0}, {0, 32, 0}, {0, 64, 0}},
                                 {{32, 0, 0}, {32, 32, 0}, {32, 64, 0}},
                                 {{64, 0, 0}, {64, 32, 0}, {64, 64, 0}}};
    struct Case {
        std::string patch;
        std::size_t vertices;
        std::size_t triangles;
    };
    // A flat patch keeps its four corners. The compiler measures a curve a-b-c as |b - a|
    // plus the way from b to a + (ab + 7 bc) / 8: 573 units for a quarter pipe of radius 256,
    // which is past 512 and halved three times into 16 spans; 72 for radius 32, which keeps
    // its 2. The straight rows collapse to their ends. patchDef3 takes its own 4 x 4 steps.
    const Case cases[] = {
        {Patch("patchDef2", "( 3 3 0 0 0 )", flat), 4, 2},
        {QuarterPipe(256), 17 * 2, 16 * 2},
        {QuarterPipe(32), 3 * 2, 2 * 2},
        {Patch("patchDef3", "( 3 3 4 4 0 0 0 )", flat), 5 * 5, 4 * 4 * 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patch);
        const TLevelMap map = Loaded(World({c.patch}));
        ASSERT_EQ(map.Meshes().size(), 1u);
        const TMapMesh& mesh = map.Meshes()[0];
        EXPECT_EQ(mesh.textureName, "tex");
        EXPECT_EQ(mesh.vertices.size(), c.vertices);
        EXPECT_EQ(mesh.triangles.size(), c.triangles);
    }
    // The flat patch faces +Z: its corners run clockwise seen from there, as the game's front
    // faces do, and its texture coordinates come from the control points.
    const TMapMesh flatMesh =
        Loaded(World({Patch("patchDef2", "( 3 3 0 0 0 )", flat)})).Meshes()[0];
    for (const TMapVertex& v : flatMesh.vertices) {
        EXPECT_EQ(v.normal, (TVector3{0, 0, 1}));
        EXPECT_FLOAT_EQ(v.s, v.position.x / 32);
        EXPECT_FLOAT_EQ(v.t, v.position.y / 32);
    }
    // The pipe's points lie on its curve: the middle one at (192, 192).
    const TMapMesh pipe = Loaded(World({QuarterPipe(256)})).Meshes()[0];
    EXPECT_EQ(pipe.vertices[8].position, (TVector3{192, 192, 0}));
    // Its normals as the compiler makes them on the control grid: at both ends the curve's
    // own normal, in the middle by symmetry its diagonal; between them interpolated, so all
    // point across the pipe. Averaging the facets around a corner would tilt the ends.
    const float d = std::sqrt(0.5f);
    const std::pair<std::size_t, TVector3> exact[] = {
        {0, {1, 0, 0}}, {8, {d, d, 0}}, {16, {0, 1, 0}}, {17, {1, 0, 0}}, {33, {0, 1, 0}}};
    for (const auto& [index, normal] : exact) {
        SCOPED_TRACE(index);
        EXPECT_NEAR(pipe.vertices[index].normal.x, normal.x, 1e-6);
        EXPECT_NEAR(pipe.vertices[index].normal.y, normal.y, 1e-6);
        EXPECT_NEAR(pipe.vertices[index].normal.z, normal.z, 1e-6);
    }
    for (const TMapVertex& v : pipe.vertices) {
        EXPECT_NEAR(std::hypot(v.normal.x, v.normal.y), 1.0f, 1e-5);
        EXPECT_NEAR(v.normal.z, 0.0f, 1e-6);
    }
}

TEST(MapPatch, TouchingPatchesShareTheirSubdivisionAndBadOnesAreReported) {
    // The short pipe sits on top of the long one's end, so it is cut as finely.
    const TLevelMap map = Loaded(World({QuarterPipe(256), QuarterPipe(32, 64, 224)}));
    ASSERT_EQ(map.Meshes().size(), 1u + 1u);
    EXPECT_EQ(map.Meshes()[1].vertices.size(), 17u * 2u);
    const TLevelMap apart = Loaded(World({QuarterPipe(256), QuarterPipe(32, 200, 224)}));
    EXPECT_EQ(apart.Meshes()[1].vertices.size(), 3u * 2u);

    const TVector3 line[3][3] = {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
                                 {{3, 0, 0}, {4, 0, 0}, {5, 0, 0}},
                                 {{6, 0, 0}, {7, 0, 0}, {8, 0, 0}}};
    std::string even = QuarterPipe(64);
    even.replace(even.find("( 3 3"), 5, "( 2 3");
    const TLevelMap bad = Loaded(World({Patch("patchDef2", "( 3 3 0 0 0 )", line), even}));
    EXPECT_TRUE(bad.Meshes().empty());
    EXPECT_EQ(bad.PatchCount(), 2);
    EXPECT_EQ(bad.SkippedText(), "2 malformed or flat patches left out");
}
