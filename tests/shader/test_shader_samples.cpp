// Real scripts from game and mod data: every one indexes, every indexed shader parses, and
// a few shaders come out as read by hand.
#include <gtest/gtest.h>

#include <string>

#include "shader/gl_blend_factors.h"
#include "shader/q3_shaders.h"
#include "shader/shader_index.h"
#include "support/test_files.h"

namespace {

std::string Sample(const std::string& name) {
    return (testing_support::SampleDir("shader") / name).string();
}

TEST(ShaderSamples, EveryScriptIndexesAndEveryShaderParses) {
    VELDRA_REQUIRE_SAMPLES("shader");
    for (const auto& file : testing_support::SampleFiles("shader")) {
        SCOPED_TRACE(file.filename().string());
        TETShader entry;
        ASSERT_GT(IndexShaderFile(file.string(), entry), 0);
        TShaders store;
        for (const std::string& name : entry.shaderNames) {
            const int index = store.LoadShader(file.string(), name, 2, name);
            ASSERT_TRUE(store.ValidIndex(index));
            const auto& stages = store.shaders[index].stages;
            ASSERT_FALSE(stages.empty()) << name;
            EXPECT_EQ(stages.front().shaderName, name);
        }
    }
}

TEST(ShaderSamples, IndexCountsAndDuplicateNames) {
    VELDRA_REQUIRE_SAMPLES("shader");
    TETShader entry;
    EXPECT_EQ(IndexShaderFile(Sample("etl__unsorted.shader"), entry), 325);
    // Commented-out shaders are not indexed.
    EXPECT_EQ(IndexShaderFile(Sample("kt_kubalwagon.shader"), entry), 1);
    EXPECT_EQ(entry.shaderNames.front(), "models/mapobjects/kt_kubalwagon/euro_frnt_2");

    // This script defines one shader twice; the store keeps a single entry for it.
    const std::string multiplayer = Sample("etl_models_multiplayer.shader");
    EXPECT_EQ(IndexShaderFile(multiplayer, entry), 45);
    TShaders store;
    for (const std::string& name : entry.shaderNames)
        store.LoadShader(multiplayer, name, 0, name);
    EXPECT_EQ(store.Count(), 44);
}

TEST(ShaderSamples, StagesReadByHand) {
    VELDRA_REQUIRE_SAMPLES("shader");
    TShaders store;

    int i = store.LoadShader(Sample("kt_kubalwagon.shader"),
                             "models/mapobjects/kt_kubalwagon/euro_frnt_2", 0, "");
    ASSERT_EQ(store.shaders[i].stages.size(), 1u);
    const TShaderTexture& wagon = store.shaders[i].stages[0];
    EXPECT_EQ(wagon.textureName, "models/mapobjects/kt_kubalwagon/euro_frnt_2.tga");
    EXPECT_EQ(wagon.cull, 0);
    EXPECT_EQ(wagon.alphaFunc, 3);
    EXPECT_EQ(wagon.blendSrc, 0);

    i = store.LoadShader(Sample("oa_ice-extra.shader"), "textures/sfx/flame1mid", 0, "");
    ASSERT_EQ(store.shaders[i].stages.size(), 2u);
    for (int s = 0; s < 2; ++s) {
        const TShaderTexture& flame = store.shaders[i].stages[s];
        EXPECT_TRUE(flame.animMap);
        EXPECT_EQ(flame.cull, 0);
        EXPECT_EQ(flame.blendSrc, kGlSrcAlpha);
        EXPECT_EQ(flame.blendDst, kGlOne);
    }
    EXPECT_EQ(store.shaders[i].stages[0].textureName, "textures/sfx/flame1.tga");
    EXPECT_EQ(store.shaders[i].stages[1].textureName, "textures/sfx/flame2.tga");

    i = store.LoadShader(Sample("etl_models_weapons2.shader"),
                         "models/weapons2/c4_dynamite/dynomite1a", 0, "");
    ASSERT_EQ(store.shaders[i].stages.size(), 2u);
    EXPECT_EQ(store.shaders[i].stages[0].textureName, "textures/effects/envmap_slate.tga");
    EXPECT_TRUE(store.shaders[i].stages[0].environment);
    EXPECT_FALSE(store.shaders[i].stages[1].environment);
    EXPECT_EQ(store.shaders[i].stages[1].blendSrc, kGlOne);
    EXPECT_EQ(store.shaders[i].stages[1].blendDst, kGlOneMinusSrcAlpha);
    EXPECT_EQ(store.shaders[i].stages[1].cull, 4);

    const std::string unsorted = Sample("etl__unsorted.shader");
    i = store.LoadShader(unsorted, "console-16bit", 0, "");
    const auto& sky = store.shaders[i].stages;
    ASSERT_EQ(sky.size(), 4u);
    EXPECT_EQ(sky[0].scrollSpeedS, 0.01f);
    EXPECT_EQ(sky[0].scrollSpeedT, -0.005f);
    EXPECT_EQ(sky[1].blendSrc, kGlDstColor);
    EXPECT_EQ(sky[1].blendDst, kGlOne);
    EXPECT_EQ(sky[1].scrollSpeedS, 0.03f);
    EXPECT_EQ(sky[2].textureName, "textures/skies_sd/ydnar_lightning.tga");
    EXPECT_TRUE(sky[3].clamp);
    EXPECT_EQ(sky[3].textureName, "textures/skies_sd/colditz_mask.tga");
    EXPECT_EQ(sky[3].scrollSpeedS, 0.0f);

    i = store.LoadShader(unsorted, "debugportals", 0, "");
    ASSERT_EQ(store.shaders[i].stages.size(), 1u);
    EXPECT_TRUE(store.shaders[i].stages[0].whiteImage);
    EXPECT_EQ(store.shaders[i].stages[0].textureName, "$whiteimage");
    EXPECT_EQ(store.shaders[i].stages[0].blendSrc, kGlSrcAlpha);
    EXPECT_EQ(store.shaders[i].stages[0].cull, 0);

    i = store.LoadShader(unsorted, "blood_dot2", 0, "");
    ASSERT_EQ(store.shaders[i].stages.size(), 1u);
    EXPECT_TRUE(store.shaders[i].stages[0].polygonOffset);
}

}  // namespace
