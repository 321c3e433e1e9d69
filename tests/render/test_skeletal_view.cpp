#include <gtest/gtest.h>

#include "render/skeletal_draw_plan.h"
#include "render/skeletal_view.h"
#include "support/skeletal_square.h"

namespace {

TShaderTexture Stage(bool hasAlpha = false) {
    TShaderTexture s = ShaderHeaderStage("textures/test/shader");
    s.texture = 7;
    s.textureHasAlpha = hasAlpha;
    return s;
}

// Each batch as its stages by unit, -1 for the base pass.
std::vector<std::vector<int>> Stages(const TSkeletalSurfacePlan& plan) {
    std::vector<std::vector<int>> batches;
    for (const TStageBatch& batch : plan.batches) {
        batches.emplace_back();
        for (std::size_t i = 0; i < batch.units.size(); ++i) {
            EXPECT_EQ(batch.units[i].unit, static_cast<int>(i));
            batches.back().push_back(batch.units[i].stage);
        }
        EXPECT_EQ(batch.depthEqual, &batch != &plan.batches.front());
    }
    return batches;
}

TEST(SkeletalDrawPlan, StagesAreBatchedOverTheUnitsAfterTheBasePass) {
    TShaderTexture cutOut = Stage(true);
    cutOut.alphaFunc = kAlphaFuncGE128;
    TShaderTexture untexturedTest = Stage();
    untexturedTest.texture = 0;
    untexturedTest.alphaFunc = kAlphaFuncGT0;
    TShaders store;
    store.shaders.push_back({0, {Stage()}});
    store.shaders.push_back({0, {Stage(), Stage(true), Stage()}});
    store.shaders.push_back({0, {Stage(), cutOut}});
    store.shaders.push_back({0, {untexturedTest}});
    store.shaders.push_back({0, {}});

    const struct {
        int shader;
        int units;
        std::vector<std::vector<int>> batches;
    } cases[] = {
        {-1, 8, {{-1}}},    // no shader: one white pass
        {9, 8, {{-1}}},     // an index outside the store is none
        {0, 8, {{-1, 0}}},  // base and stage drawn at once
        {1, 8, {{-1, 0, 1, 2}}},
        {1, 2, {{-1, 0}, {1, 2}}},  // more stages than units
        {1, 1, {{-1}, {0}, {1}, {2}}},
        {1, 0, {{-1}, {0}, {1}, {2}}},  // no multitexture: still one unit
        {2, 8, {{0, 1}}},               // a cut-out stage would show the white through
        {3, 8, {{-1, 0}}},              // a test without a texture cuts nothing out
        {4, 8, {{-1}}},
    };
    for (const auto& c : cases) {
        const TSkeletalSurfacePlan plan = PlanSkeletalSurface(store, c.shader, c.units);
        EXPECT_EQ(Stages(plan), c.batches) << "shader " << c.shader << ", units " << c.units;
        EXPECT_EQ(plan.hasShader, store.ValidIndex(c.shader));
    }
    // Unit 0 replaces; later units decal a texture with alpha over what lies below and
    // modulate an opaque one.
    const TSkeletalSurfacePlan plan = PlanSkeletalSurface(store, 1, 8);
    const std::vector<TUnitBlend> blends = {TUnitBlend::Replace, TUnitBlend::Modulate,
                                            TUnitBlend::Decal, TUnitBlend::Modulate};
    for (std::size_t i = 0; i < blends.size(); ++i)
        EXPECT_EQ(plan.batches[0].units[i].blend, blends[i]) << i;

    EXPECT_EQ(SkeletalStageCull(kCullFront, false), TCullFace::Front);
    EXPECT_EQ(SkeletalStageCull(kCullBack, false), TCullFace::Back);
    EXPECT_EQ(SkeletalStageCull(5, false), TCullFace::None);
    EXPECT_EQ(SkeletalStageCull(kCullBack, true), TCullFace::None);
}

// The pose turns the game's coordinates 180 degrees about X; the view works in the game's.
TEST(SkeletalView, BoundsAndTagsAreInTheGamesCoordinates) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {.halfSide = 4.0f});
    mesh.surfaces[0].vertices[2].weights[0].offset = {4.0f, 4.0f, 6.0f};
    TSkeletalPoser poser;

    const std::optional<TBounds> box = SkeletalFrameBounds(mesh, anim, 1, poser);
    ASSERT_TRUE(box.has_value());
    EXPECT_FLOAT_EQ(box->min.x, -4.0f);
    EXPECT_FLOAT_EQ(box->min.y, -4.0f);
    EXPECT_FLOAT_EQ(box->min.z, 0.0f);
    EXPECT_FLOAT_EQ(box->max.y, 4.0f);
    EXPECT_FLOAT_EQ(box->max.z, 6.0f);

    const std::optional<TVector3> tag = SkeletalTagOrigin(mesh, anim, 0, 0, poser);
    ASSERT_TRUE(tag.has_value());
    EXPECT_FLOAT_EQ(tag->y, 5.0f);
    EXPECT_FLOAT_EQ(tag->z, 3.0f);

    // Nothing outside the animation's frames or the mesh's tags.
    EXPECT_FALSE(SkeletalFrameBounds(mesh, anim, 3, poser).has_value());
    EXPECT_FALSE(SkeletalFrameBounds(mesh, anim, -1, poser).has_value());
    EXPECT_FALSE(SkeletalTagOrigin(mesh, anim, 0, 1, poser).has_value());
    EXPECT_FALSE(SkeletalTagOrigin(mesh, anim, 7, 0, poser).has_value());

    // Without vertices the animation's stored bounds are fitted.
    mesh.surfaces.clear();
    mesh.header.numSurfaces = 0;
    anim.frames[2].maxBounds = {1.0f, 2.0f, 30.0f};
    const std::optional<TBounds> stored = SkeletalFrameBounds(mesh, anim, 2, poser);
    ASSERT_TRUE(stored.has_value());
    EXPECT_FLOAT_EQ(stored->max.z, 30.0f);
}

}  // namespace
