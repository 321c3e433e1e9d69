// CalculateLod on the game's player meshes (the fast choice against the plain scan at several
// frames of the body animation), walking collapse maps, and meshes past the game's limits.
#include <gtest/gtest.h>

#include "io/user_prompts.h"
#include "lod/collapse_map.h"
#include "lod/progressive_mesh.h"
#include "skeletal/skeletal_pose.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

using testing_support::SampleDir;
using testing_support::SampleFiles;

TEST(CollapseMap, PlayerMeshesGiveTheScansResultAndWalkableMaps) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    VELDRA_REQUIRE_SAMPLES("mdx");
    TMDX anim;
    ASSERT_TRUE(anim.LoadFromFile((SampleDir("mdx") / "body.mdx").string()));
    for (const auto& file : SampleFiles("mdm")) {
        AnswerYesPrompts yes;
        TMDM original;
        ASSERT_TRUE(original.LoadFromFile(file.string(), yes)) << original.LastError();
        for (const std::uint32_t frame : {0u, 1500u, kLodFrameMDMMDX}) {
            SCOPED_TRACE(file.filename().string() + " frame " + std::to_string(frame));
            TMDM mesh = original;
            std::vector<TcmResult> literal;
            for (std::uint32_t s = 0; s < mesh.surfaces.size(); ++s) {
                ASSERT_TRUE(SkeletalPose(mesh, anim, frame, s));
                literal.push_back(
                    ProgressiveMeshLiteral(mesh.pose.vertexPositions, mesh.surfaces[s].triangles));
            }
            ASSERT_TRUE(TCollapseMap().CalculateLod(mesh, anim, frame));
            EXPECT_EQ(mesh.header.lodScale, 1.0f);
            EXPECT_EQ(mesh.header.lodBias, 0.0f);
            EXPECT_EQ(CollapseMapProblem(mesh), "");
            for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
                const TMDMSurface& surface = mesh.surfaces[s];
                EXPECT_EQ(std::vector<std::int32_t>(surface.collapseMap.begin(),
                                                    surface.collapseMap.end()),
                          literal[s].map);
                EXPECT_EQ(surface.minLod, literal[s].lodMinimum);
                EXPECT_GT(surface.minLod, 0);
                EXPECT_EQ(mesh.lod[s].lodMinimum, surface.minLod);
                // Each vertex record moved to its new index, and the triangles with it.
                const TMDMSurface& before = original.surfaces[s];
                for (std::size_t k = 0; k < before.vertices.size(); ++k) {
                    const auto to = static_cast<std::size_t>(literal[s].permutation[k]);
                    EXPECT_EQ(surface.vertices[to].texCoords[0], before.vertices[k].texCoords[0]);
                }
                for (std::size_t t = 0; t < before.triangles.size(); ++t) {
                    EXPECT_EQ(
                        surface.triangles[t].indexes[1],
                        literal[s]
                            .permutation[static_cast<std::size_t>(before.triangles[t].indexes[1])]);
                }
            }
        }
    }
}

TEST(CollapseMap, MapVertexWalksSoundMapsAndEndsOnBrokenOnes) {
    TMDMSurface surface;
    surface.collapseMap = {0, 0, 1, 1, 2};
    const struct {
        std::int32_t index, count, expected;
    } sound[] = {{4, 5, 4}, {4, 4, 2}, {4, 2, 1}, {4, 1, 0}, {3, 0, 0}, {2, -3, 0}, {-1, 3, -1}};
    for (const auto& c : sound)
        EXPECT_EQ(TCollapseMap::MapVertex(surface, c.index, c.count), c.expected)
            << c.index << " at " << c.count;
    EXPECT_TRUE(CollapseMapSound(surface));

    // A loop, a self-reference and an entry past the surface, as a file may hold them.
    for (const std::vector<TMDMCollapseMap>& broken :
         std::vector<std::vector<TMDMCollapseMap>>{{0, 0, 3, 2}, {0, 1, 2, 3}, {0, 0, 1, 9}}) {
        surface.collapseMap = broken;
        EXPECT_EQ(TCollapseMap::MapVertex(surface, 3, 1), -1);
        EXPECT_FALSE(CollapseMapSound(surface));
    }
}

TEST(CollapseMap, SurfacesPastTheTableGetDataWithoutAnEntry) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {.surfaces = 34});
    ASSERT_TRUE(TCollapseMap().CalculateLod(mesh, anim, 999));  // falls back to frame 0
    ASSERT_EQ(mesh.surfaces.size(), 34u);
    for (const TMDMSurface& s : mesh.surfaces)
        EXPECT_EQ(s.minLod, mesh.surfaces[0].minLod);
    EXPECT_EQ(mesh.lod.back().lodMinimum, mesh.surfaces[0].minLod);

    TMDX empty;
    EXPECT_FALSE(TCollapseMap().CalculateLod(mesh, empty, 0));
}

}  // namespace
