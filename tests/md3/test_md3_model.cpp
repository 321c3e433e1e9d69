#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "md3/md3.h"
#include "model_factory.h"

namespace {

TEST(MD3Model, ClearEmptiesArraysButKeepsIdentity) {
    TMD3 model;
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 32, .frames = 3, .tags = 2});
    model.header.flags = 7;
    model.header.numSkins = 4;
    model.Clear();
    EXPECT_TRUE(model.IsEmpty());
    EXPECT_TRUE(model.IsMD3());
    EXPECT_EQ(model.header.version, kMD3Version);
    EXPECT_EQ(model.header.flags, 7);
    EXPECT_EQ(NameFieldText(model.header.name), "models/generated/model.md3");
}

TEST(MD3Model, BlockSizesFollowTheCounts) {
    TMD3 model;
    MakeModel(
        model,
        {.surfaces = 2, .vertsPerSurface = 32, .frames = 3, .tags = 2, .shadersPerSurface = 2});
    const TSurface& s = model.header.surfaces[1];
    EXPECT_EQ(TMD3::HeaderSize(), 108);
    EXPECT_EQ(model.FramesSize(), 3 * 56);
    EXPECT_EQ(model.TagsSize(), 3 * 2 * 112);
    EXPECT_EQ(model.ShadersSize(1), 2 * 68);
    EXPECT_EQ(model.TrianglesSize(1), s.numTriangles * 12);
    EXPECT_EQ(model.TexCoordsSize(1), 32 * 8);
    EXPECT_EQ(model.VerticesSize(1), 32 * 3 * 8);
    EXPECT_EQ(model.SurfaceSize(1), 108 + 2 * 68 + s.numTriangles * 12 + 32 * 8 + 32 * 3 * 8);
    EXPECT_EQ(model.SurfacesSize(), model.SurfaceSize(0) + model.SurfaceSize(1));
    // An index outside the surfaces sizes to 0.
    EXPECT_EQ(model.SurfaceSize(2), 0);
    EXPECT_EQ(model.VerticesSize(-1), 0);
    // The vertex block uses the model's frame count even when the surface says otherwise.
    model.header.surfaces[1].numFrames = 0;
    EXPECT_EQ(model.VerticesSize(1), 32 * 3 * 8);
}

TEST(MD3Model, NameFieldsArePaddedAndTruncated) {
    char field[64];
    std::memset(field, 'x', sizeof field);
    SetName64(std::string(70, 'a'), field);
    EXPECT_EQ(std::string(field, 64), std::string(64, 'a'));
    SetName64("", field);
    EXPECT_EQ(std::string(field, 64), std::string(64, '\0'));
    SetName64("tag_head", field);
    EXPECT_EQ(NameFieldText(field), "tag_head");
    EXPECT_EQ(field[63], '\0');

    char frameName[16];
    SetNameField("a frame name that is long", frameName);
    EXPECT_EQ(NameFieldText(frameName), "a frame name tha");
}

TEST(MD3Model, SetShaderNameNeedsAValidSurfaceWithAShader) {
    TMD3 model;
    MakeModel(model, {.surfaces = 2});
    model.SetShaderName(1, "textures/new/skin");
    EXPECT_EQ(NameFieldText(model.header.surfaces[1].shaders[0].name), "textures/new/skin");

    model.SetShaderName(2, "nope");  // index equal to numSurfaces
    model.SetShaderName(-1, "nope");
    model.header.surfaces[0].shaders.clear();
    model.header.surfaces[0].numShaders = 0;
    model.SetShaderName(0, "nope");
    EXPECT_TRUE(model.header.surfaces[0].shaders.empty());
    EXPECT_EQ(NameFieldText(model.header.surfaces[1].shaders[0].name), "textures/new/skin");
}

TEST(MD3Model, FlipTexCoordTPairsUpAndIgnoresBadIndexes) {
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 48});
    const auto original = model.header.surfaces[0].texCoords;
    model.FlipTexCoordT(0);
    EXPECT_FLOAT_EQ(model.header.surfaces[0].texCoords[20].t, 1.0f - original[20].t);
    model.FlipTexCoordT(0);
    for (std::size_t v = 0; v < original.size(); ++v) {
        EXPECT_NEAR(model.header.surfaces[0].texCoords[v].t, original[v].t, 1e-7f);
        EXPECT_EQ(model.header.surfaces[0].texCoords[v].s, original[v].s);
    }
    model.FlipTexCoordT(1);
    model.FlipTexCoordT(-3);
}

TEST(MD3Model, VerticesAreStoredInSixtyFourths) {
    const TMD3Vertex v{64, -64, 32767, 0};
    EXPECT_EQ(v.x * kMD3XyzScale, 1.0f);
    EXPECT_EQ(v.y * kMD3XyzScale, -1.0f);
    EXPECT_EQ(v.z * kMD3XyzScale, 511.984375f);
}

}  // namespace
