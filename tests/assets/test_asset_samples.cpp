// Real game files packed into a game folder: models, skins and ET: Legacy's shader scripts.
#include <gtest/gtest.h>

#include "assets/archive_loads.h"
#include "assets/stage_images.h"
#include "assets/surface_resolution.h"
#include "game_fixture.h"
#include "shader/shader_flags.h"

using namespace testing_support;

namespace {

std::string Sample(const std::string& format, const std::string& name) {
    return FileText((SampleDir(format) / name).string());
}

class AssetSamples : public GameFixture {
  protected:
    void SetUp() override {
        for (const char* format : {"md3", "skin", "shader", "textures"}) {
            if (SampleDir(format).empty()) GTEST_SKIP() << "third-party samples not found";
        }
        const std::string mortar = "models/multiplayer/mortar/";
        const std::string bazooka = "models/weapons2/bazooka/";
        pak0_ =
            Pak("pak0.pk3",
                {{"scripts/models_multiplayer.shader",
                  Sample("shader", "etl_models_multiplayer.shader")},
                 {"scripts/models_weapons2.shader", Sample("shader", "etl_models_weapons2.shader")},
                 {"scripts/_unsorted.shader", Sample("shader", "etl__unsorted.shader")},
                 {mortar + "mortar_3rd.md3", Sample("md3", "mortar_3rd.md3")},
                 {mortar + "mortar_3rd_axis.skin", Sample("skin", "mortar_3rd_axis.skin")},
                 {mortar + "mortar_ax.jpg", Sample("textures", "mortar_ax.jpg")},
                 {bazooka + "v_bazooka_barrel.md3", Sample("md3", "v_bazooka_barrel.md3")},
                 {bazooka + "bazooka_axis.skin", Sample("skin", "bazooka_axis.skin")},
                 {"models/weapons2/mp40/hand16.jpg", Sample("textures", "knife_yd.jpg")}});
    }

    // Loads the model from the game, with the skin from the game when one is named.
    TSurfaceResolution Resolve(const std::string& model, const std::string& skin) {
        TGameAssets& assets = Assets({pak0_});
        const TModelLoad load = LoadMD3FromGame(md3_, assets, model);
        EXPECT_TRUE(load.ok) << load.error;
        if (!skin.empty()) {
            const TEntryExtraction extracted = ExtractFromGamePaks(assets.Paks(), skin, TmpDir());
            EXPECT_TRUE(assets.LoadSkin(extracted.path));
        }
        const TModelOrigin origin{false, "", ""};
        TSurfaceResolution result =
            ResolveSurfaceShaders(MD3SurfaceShaderRefs(md3_), assets, origin, shaders_);
        EXPECT_TRUE(ResolveStageImages(shaders_, assets, origin).empty());
        return result;
    }

    std::string pak0_;
    TMD3 md3_;
    TShaders shaders_;
};

TEST_F(AssetSamples, MortarTakesItsScriptShaderOrItsSkinImage) {
    TSurfaceResolution result = Resolve("models/multiplayer/mortar/mortar_3rd.md3", "");
    ASSERT_EQ(result.surfaces.size(), 3u);
    const int shared = result.surfaces[0].shaderIndex;
    ASSERT_TRUE(shaders_.ValidIndex(shared));
    for (const TSurfaceShaderResult& surface : result.surfaces) {
        EXPECT_EQ(surface.shaderIndex, shared);  // one script shader serves all three
        EXPECT_EQ(surface.shaderFile, "GAME:\\\\scripts\\models_multiplayer.shader");
    }
    EXPECT_EQ(shaders_.shaders[shared].stages.size(), 2u);
    EXPECT_TRUE(shaders_.shaders[shared].stages[0].environment);

    result = Resolve("models/multiplayer/mortar/mortar_3rd.md3",
                     "models/multiplayer/mortar/mortar_3rd_axis.skin");
    for (const TSurfaceShaderResult& surface : result.surfaces) {
        ASSERT_TRUE(shaders_.ValidIndex(surface.shaderIndex));
        const TShaderObj& entry = shaders_.shaders[surface.shaderIndex];
        EXPECT_EQ(entry.flags, kShaderNameFromSkin | kShaderImageFound | kShaderFoundInGame |
                                   kShaderFoundInArchive);
        EXPECT_EQ(entry.stages[0].texturePath,
                  TmpDir() + "gp0/models/multiplayer/mortar/mortar_ax.jpg");
        EXPECT_EQ(entry.stages[0].imageWidth, 512);
    }
}

TEST_F(AssetSamples, BazookaSkinFindsTheHandAsJpeg) {
    const TSurfaceResolution result = Resolve("models/weapons2/bazooka/v_bazooka_barrel.md3",
                                              "models/weapons2/bazooka/bazooka_axis.skin");
    ASSERT_EQ(result.surfaces.size(), 2u);  // b_hand, b_sleeve
    ASSERT_TRUE(shaders_.ValidIndex(result.surfaces[0].shaderIndex));
    EXPECT_EQ(shaders_.shaders[result.surfaces[0].shaderIndex].stages[0].texturePath,
              TmpDir() + "gp0/models/weapons2/mp40/hand16.jpg");
    EXPECT_EQ(result.surfaces[1].shaderIndex, -1);  // arm_axis.jpg is not in the game
}

}  // namespace
