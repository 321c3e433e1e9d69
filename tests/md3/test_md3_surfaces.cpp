// Removing and merging surfaces: no triangle or vertex may be lost, gained or moved.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using md3_test::ExpectSameModel;

// A model whose surfaces use the given first shader names.
TMD3 WithShaders(const std::vector<std::string>& shaders, int verts = 32, int frames = 2) {
    TMD3 model;
    MakeModel(model, {.surfaces = static_cast<int>(shaders.size()),
                      .vertsPerSurface = verts,
                      .frames = frames,
                      .tags = 1});
    for (std::size_t i = 0; i < shaders.size(); ++i)
        model.SetShaderName(static_cast<int>(i), shaders[i]);
    return model;
}

// Every triangle as its three corner positions per frame, with its shader: what the game
// draws, independent of how the triangles are spread over surfaces.
using Corner = std::array<std::int16_t, 3>;
using DrawnTriangle = std::tuple<std::string, int, Corner, Corner, Corner>;

std::vector<DrawnTriangle> Drawn(const TMD3& model) {
    std::vector<DrawnTriangle> out;
    for (const TSurface& s : model.header.surfaces) {
        const std::string shader = s.shaders.empty() ? "" : NameFieldText(s.shaders[0].name);
        for (int f = 0; f < model.header.numFrames; ++f) {
            auto corner = [&](int index) {
                const TMD3Vertex& v = s.vertices[static_cast<std::size_t>(f) * s.numVerts + index];
                return Corner{v.x, v.y, v.z};
            };
            for (const TMD3Triangle& t : s.triangles) {
                out.emplace_back(shader, f, corner(t.indexes[0]), corner(t.indexes[1]),
                                 corner(t.indexes[2]));
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

void ExpectConsistent(const TMD3& model) {
    const THeader& h = model.header;
    ASSERT_EQ(h.surfaces.size(), static_cast<std::size_t>(h.numSurfaces));
    for (const TSurface& s : h.surfaces) {
        EXPECT_EQ(s.texCoords.size(), static_cast<std::size_t>(s.numVerts));
        EXPECT_EQ(s.triangles.size(), static_cast<std::size_t>(s.numTriangles));
        EXPECT_EQ(s.vertices.size(), static_cast<std::size_t>(s.numVerts) * h.numFrames);
        for (const TMD3Triangle& t : s.triangles)
            for (std::int32_t i : t.indexes)
                EXPECT_TRUE(i >= 0 && i < s.numVerts);
    }
}

TEST(MD3Compact, SurfacesWithTheSameShaderMergeInOrder) {
    TMD3 model = WithShaders({"A", "B", "A", "B"});
    const TMD3 original = model;
    model.CompactSurfaces();
    ASSERT_EQ(model.header.numSurfaces, 2);
    ExpectConsistent(model);
    const TSurface& a = model.header.surfaces[0];
    const TSurface& b = model.header.surfaces[1];
    EXPECT_EQ(NameFieldText(a.name), "surface0");
    EXPECT_EQ(NameFieldText(b.name), "surface1");
    EXPECT_EQ(a.numVerts, 64);
    EXPECT_EQ(a.numTriangles, 2 * original.header.surfaces[0].numTriangles);
    // Frame 1 of the merged surface: surface 0's vertices, then surface 2's.
    const auto& o = original.header.surfaces;
    EXPECT_EQ(a.vertices[64 + 3].x, o[0].vertices[32 + 3].x);
    EXPECT_EQ(a.vertices[64 + 32 + 3].x, o[2].vertices[32 + 3].x);
    EXPECT_EQ(a.texCoords[32 + 5].s, o[2].texCoords[5].s);
    EXPECT_EQ(Drawn(model), Drawn(original));
}

TEST(MD3Compact, LastSurfacesFillTheHoles) {
    TMD3 model = WithShaders({"A", "B", "A", "C", "D"});
    model.CompactSurfaces();
    ASSERT_EQ(model.header.numSurfaces, 4);
    const char* order[] = {"surface0", "surface1", "surface4", "surface3"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(NameFieldText(model.header.surfaces[i].name), order[i]);
}

// Gives surface i of `model` the counts (vertices and triangles of index 0 are valid).
void Resize(TMD3& model, int i, int verts, int triangles) {
    TSurface& s = model.header.surfaces[static_cast<std::size_t>(i)];
    s.numVerts = verts;
    s.vertices.resize(static_cast<std::size_t>(verts) * model.header.numFrames);
    s.texCoords.resize(static_cast<std::size_t>(verts));
    s.texCoordTAsRead.clear();
    s.numTriangles = triangles;
    s.triangles.resize(static_cast<std::size_t>(triangles));
}

TEST(MD3Compact, MergedSurfacesStayBelowTheGameLimits) {
    struct Case {
        int verts[2];
        int triangles[2];
        bool merged;
    };
    const Case cases[] = {
        {{512, 511}, {8, 8}, true},  // 1023 vertices
        {{512, 512}, {8, 8}, false},
        {{16, 16}, {4096, 4095}, true},  // 8191 triangles
        {{16, 16}, {4096, 4096}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.verts[1]) + " vertices, " + std::to_string(c.triangles[1]) +
                     " triangles");
        TMD3 model = WithShaders({"A", "A"}, 16, 1);
        for (int i = 0; i < 2; ++i)
            Resize(model, i, c.verts[i], c.triangles[i]);
        model.CompactSurfaces();
        ExpectConsistent(model);
        EXPECT_EQ(model.header.numSurfaces, c.merged ? 1 : 2);
    }
    // A surface that no longer fits is skipped, and the next one that does is merged.
    TMD3 model = WithShaders({"A", "A", "A", "A"}, 16, 1);
    Resize(model, 0, 512, 8);
    Resize(model, 1, 511, 8);
    Resize(model, 2, 2, 8);
    model.CompactSurfaces();
    ASSERT_EQ(model.header.numSurfaces, 2);
    EXPECT_EQ(model.header.surfaces[0].numVerts, 512 + 511);
    EXPECT_EQ(model.header.surfaces[1].numVerts, 2 + 16);
}

TEST(MD3Compact, ManySurfacesAndSurfacesWithoutShaders) {
    std::vector<std::string> shaders;
    for (int i = 0; i < 300; ++i)
        shaders.push_back(i % 3 == 0 ? "" : i % 3 == 1 ? "x" : "y");
    TMD3 model = WithShaders(shaders, 3, 2);
    // A surface without any shader record counts as the empty name.
    TSurface& bare = model.header.surfaces[3];
    bare.shaders.clear();
    bare.numShaders = 0;
    const TMD3 original = model;
    model.CompactSurfaces();
    ExpectConsistent(model);
    ASSERT_EQ(model.header.numSurfaces, 3);
    EXPECT_EQ(model.header.surfaces[0].numVerts, 300);
    EXPECT_EQ(Drawn(model), Drawn(original));
}

TEST(MD3Compact, SampleKeepsEveryTriangleAndVertex) {
    VELDRA_REQUIRE_SAMPLES("md3");
    testing_support::ScratchDir dir;
    TMD3 model;
    ASSERT_TRUE(
        model.LoadFromFile((testing_support::SampleDir("md3") / "secretdocs.md3").string()));
    const TMD3 original = model;
    auto total = [](const TMD3& m, auto field) {
        int n = 0;
        for (const TSurface& s : m.header.surfaces)
            n += s.*field;
        return n;
    };
    model.CompactSurfaces();
    EXPECT_EQ(model.header.numSurfaces, 5);
    EXPECT_EQ(total(model, &TSurface::numVerts), total(original, &TSurface::numVerts));
    EXPECT_EQ(total(model, &TSurface::numTriangles), total(original, &TSurface::numTriangles));
    EXPECT_EQ(Drawn(model), Drawn(original));
    ExpectConsistent(model);
    ASSERT_TRUE(model.SaveToFile(dir.File("compact.md3")));
    TMD3 again;
    ASSERT_TRUE(again.LoadFromFile(dir.File("compact.md3")));
    ExpectSameModel(again, model, 1e-6f);
}

TEST(MD3RemoveSurface, LaterSurfacesMoveDownAndFramesStay) {
    TMD3 model = WithShaders({"A", "B", "C"});
    const TMD3 original = model;
    EXPECT_FALSE(model.RemoveSurface(3));
    EXPECT_FALSE(model.RemoveSurface(-1));
    ASSERT_TRUE(model.RemoveSurface(1));
    ASSERT_EQ(model.header.numSurfaces, 2);
    EXPECT_EQ(NameFieldText(model.header.surfaces[1].name), "surface2");
    EXPECT_EQ(NameFieldText(model.header.surfaces[1].shaders[0].name), "C");
    ASSERT_TRUE(model.RemoveSurface(0));
    ASSERT_TRUE(model.RemoveSurface(0));
    EXPECT_EQ(model.header.numSurfaces, 0);
    EXPECT_TRUE(model.header.surfaces.empty());
    EXPECT_EQ(model.header.numFrames, 2);
    EXPECT_EQ(model.header.tags.size(), 2u);
    EXPECT_EQ(std::memcmp(model.header.frames.data(), original.header.frames.data(),
                          2 * sizeof(TMD3Frame)),
              0);
}

}  // namespace
