// The progressive mesh on small surfaces whose outcome can be reasoned out, and the fast
// choice of the cheapest vertex against the plain scan on meshes full of ties and oddities.
#include <gtest/gtest.h>

#include <algorithm>

#include "lod/collapse_mesh.h"
#include "lod/progressive_mesh.h"
#include "lod_meshes.h"

namespace {

void ExpectSameResult(const TcmResult& fast, const TcmResult& literal) {
    EXPECT_EQ(fast.permutation, literal.permutation);
    EXPECT_EQ(fast.map, literal.map);
    EXPECT_EQ(fast.lodMinimum, literal.lodMinimum);
}

// Both choices, checked against each other and for the shape every result must have.
TcmResult Reduce(const LodMesh& mesh) {
    const TcmResult fast = ProgressiveMesh(mesh.positions, mesh.triangles);
    ExpectSameResult(fast, ProgressiveMeshLiteral(mesh.positions, mesh.triangles));
    std::vector<std::int32_t> sorted = fast.permutation;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        EXPECT_EQ(sorted[k], static_cast<std::int32_t>(k)) << "not a permutation";
        if (k > 0) {
            EXPECT_LT(fast.map[k], static_cast<std::int32_t>(k)) << "entry " << k;
        }
    }
    if (!fast.map.empty()) {
        EXPECT_EQ(fast.map[0], 0);
    }
    return fast;
}

LodMesh Tetrahedron(float size) {
    return {{{0, 0, 0}, {size, 0, 0}, {0, size, 0}, {0, 0, size}},
            {{{0, 2, 1}}, {{0, 1, 3}}, {{0, 3, 2}}, {{1, 2, 3}}}};
}

TEST(ProgressiveMesh, SmallSurfacesCollapseAsReasonedOut) {
    // Closed: no vertex is ever on a border.
    EXPECT_EQ(Reduce(Tetrahedron(10.0f)).lodMinimum, 0);

    // One triangle: all three on the border; the last one left becomes vertex 0.
    const TcmResult single = Reduce({{{0, 0, 0}, {4, 0, 0}, {0, 3, 0}}, {{{0, 1, 2}}}});
    EXPECT_EQ(single.lodMinimum, 3);
    EXPECT_EQ(single.map[0], 0);

    // No triangles: nothing has a neighbour, vertices go in list order, all map to 0.
    const TcmResult lonely = Reduce({{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {{{0, 0, 1}}}});
    EXPECT_EQ(lonely.permutation, (std::vector<std::int32_t>{2, 1, 0}));
    EXPECT_EQ(lonely.map, (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(lonely.lodMinimum, 0);

    // So large that every collapse costs more than the bound: vertex 0 goes first without a
    // candidate and takes its three triangles along, which leaves the opposite face as a lone
    // triangle of three border vertices.
    const TcmResult huge = Reduce(Tetrahedron(1.0e7f));
    EXPECT_EQ(huge.permutation[0], 3);
    EXPECT_EQ(huge.map[3], 0);
    EXPECT_EQ(huge.lodMinimum, 3);
}

TEST(ProgressiveMesh, FlatOpenGridLosesEveryInteriorVertexFirst) {
    const int columns = 7, rows = 5;
    const TcmResult result = Reduce(LodGridMesh(columns, rows, 0.0f, 1));
    const int border = 2 * columns + 2 * rows - 4;
    EXPECT_EQ(result.lodMinimum, border);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const bool onBorder = x == 0 || y == 0 || x == columns - 1 || y == rows - 1;
            const std::int32_t newIndex =
                result.permutation[static_cast<std::size_t>(y * columns + x)];
            EXPECT_EQ(newIndex < border, onBorder) << x << ", " << y;
        }
    }
}

TEST(ProgressiveMesh, FirstNeighbourOfEqualCostBecomesTheCandidate) {
    // A flat fan: the centre collapses onto any rim vertex for nothing.
    const std::vector<TVector3> fan = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
    const struct {
        std::vector<TMDMTriangle> triangles;
        std::int32_t candidate;
    } cases[] = {
        {{{{0, 1, 2}}, {{0, 2, 3}}, {{0, 3, 4}}, {{0, 4, 1}}}, 1},
        {{{{0, 3, 4}}, {{0, 4, 1}}, {{0, 1, 2}}, {{0, 2, 3}}}, 3},
        {{{{0, 2, 3}}, {{0, 1, 2}}, {{0, 3, 4}}, {{0, 4, 1}}}, 2},
    };
    for (const auto& c : cases) {
        TcmMesh mesh(fan, c.triangles);
        mesh.ComputeCost(0);
        EXPECT_EQ(mesh.Vertex(0).collapse, c.candidate);
        EXPECT_EQ(mesh.Vertex(0).cost, 0.0f);
    }
}

TEST(ProgressiveMesh, FastChoiceEqualsTheScanOnGeneratedMeshes) {
    const struct {
        const char* name;
        LodMesh mesh;
    } cases[] = {
        {"flat grid", LodGridMesh(12, 9, 0.0f, 3)},
        {"bumpy grid", LodGridMesh(15, 11, 0.5f, 4)},
        {"steep grid", LodGridMesh(9, 14, 3.0f, 5)},
        {"sparse random", LodRandomMesh(60, 40, 6)},
        {"dense random", LodRandomMesh(80, 300, 7)},
        {"crowded lattice", LodRandomMesh(150, 200, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reduce(c.mesh);
    }
    for (std::uint32_t seed = 100; seed < 140; ++seed) {
        SCOPED_TRACE(seed);
        Reduce(LodRandomMesh(10 + static_cast<int>(seed % 30), static_cast<int>(seed % 50), seed));
    }
}

}  // namespace
