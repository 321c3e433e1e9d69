#include <gtest/gtest.h>

#include "render/md3_draw_plan.h"

namespace {

TShaderTexture Stage(bool hasAlpha = false) {
    TShaderTexture s = ShaderHeaderStage("textures/test/shader");
    s.texture = 7;
    s.textureHasAlpha = hasAlpha;
    return s;
}

int AddShader(TShaders& store, std::vector<TShaderTexture> stages) {
    store.shaders.push_back({0, std::move(stages)});
    return store.Count() - 1;
}

TEST(MD3DrawPlan, SurfacesWithoutAShaderAreOneWhitePassWithoutCulling) {
    TShaders store;
    for (int index : {-1, 0, 5}) {
        const TSurfaceDrawPlan plan = PlanSurface(store, index, false);
        EXPECT_FALSE(plan.hasShader);
        EXPECT_EQ(plan.plainPasses, 1);
        EXPECT_EQ(plan.plainCull, TCullFace::None);
        EXPECT_FALSE(plan.alphaBlending);
    }
}

TEST(MD3DrawPlan, AlphaBlendingMode) {
    TShaderTexture alphaTested = Stage();
    alphaTested.alphaFunc = kAlphaFuncGE128;
    TShaderTexture envAlpha = Stage(true);
    envAlpha.environment = true;

    EXPECT_TRUE(AlphaBlendingMode({}));  // a shader without stages
    EXPECT_TRUE(AlphaBlendingMode({Stage(true)}));
    EXPECT_FALSE(AlphaBlendingMode({Stage(false)}));
    EXPECT_TRUE(AlphaBlendingMode({Stage(false), alphaTested}));
    EXPECT_TRUE(AlphaBlendingMode({Stage(true), Stage(true)}));
    EXPECT_FALSE(AlphaBlendingMode({Stage(true), Stage(false)}));
    EXPECT_FALSE(AlphaBlendingMode({Stage(true), envAlpha}));
}

TEST(MD3DrawPlan, PassesBeforeTheStages) {
    TShaders store;
    // A one-stage shader with an alpha texture: blended, no white base pass.
    const TSurfaceDrawPlan cutOut = PlanSurface(store, AddShader(store, {Stage(true)}), false);
    EXPECT_TRUE(cutOut.alphaBlending);
    EXPECT_EQ(cutOut.plainPasses, 0);

    // A lightmap stage then a texture stage: the base pass and the extra lightmap pass.
    TShaderTexture lightmap = Stage();
    lightmap.textureName = "$lightmap";
    lightmap.lightmap = true;
    lightmap.texture = 0;
    const TSurfaceDrawPlan lit = PlanSurface(store, AddShader(store, {lightmap, Stage()}), false);
    EXPECT_FALSE(lit.alphaBlending);
    EXPECT_TRUE(lit.lightmapPass);
    EXPECT_EQ(lit.plainPasses, 2);

    // A glow adds to the scene behind it; a stage that tints the white base keeps it.
    TShaderTexture glow = Stage();
    glow.blendSrc = kGlOne;
    glow.blendDst = kGlOne;
    const TSurfaceDrawPlan flash = PlanSurface(store, AddShader(store, {glow, Stage()}), false);
    EXPECT_FALSE(flash.basePass);
    EXPECT_EQ(flash.plainPasses, 0);
    TShaderTexture tint = Stage();
    tint.blendSrc = kGlDstColor;
    tint.blendDst = kGlZero;
    EXPECT_TRUE(PlanSurface(store, AddShader(store, {tint, glow}), false).basePass);
}

TEST(MD3DrawPlan, CullingFollowsTheShaderUnlessTwoSided) {
    TShaders store;
    TShaderTexture front = Stage();
    front.cull = kCullFront;
    const int index = AddShader(store, {front});
    EXPECT_EQ(PlanSurface(store, index, false).plainCull, TCullFace::Front);
    EXPECT_EQ(PlanSurface(store, index, true).plainCull, TCullFace::None);
    EXPECT_EQ(StageCull(kCullBack, false), TCullFace::Back);
    EXPECT_EQ(StageCull(kCullNone, false), TCullFace::None);
    EXPECT_EQ(StageCull(2, false), TCullFace::None);
}

TEST(MD3DrawPlan, SurfacesDrawInSortOrderKeepingFileOrderAmongEquals) {
    TShaders store;
    const auto sorted = [&store](float sort) {
        TShaderTexture s = Stage();
        s.sort = sort;
        return AddShader(store, {s});
    };
    const int additive = sorted(kSortAdditive);
    const int opaque = sorted(kSortOpaque);
    const int decal = sorted(kSortDecal);
    // No shader, an unknown index and a shader without stages all sort as opaque.
    const std::vector<int> order =
        SurfaceDrawOrder(store, {additive, -1, decal, opaque, 99, AddShader(store, {})});
    EXPECT_EQ(order, (std::vector<int>{1, 3, 4, 5, 2, 0}));
}

}  // namespace
