// A model resolved against a game folder is drawn with the images its shaders name.
#include "assets/surface_resolution.h"
#include "gl_test_context.h"
#include "model_factory.h"
#include "render/gl/scene_renderer.h"
#include "render/gl/stage_textures.h"
#include "shader/shader_lines.h"
#include "support/test_files.h"
#include "support/textured_game.h"

namespace {

using namespace testing_support;

class StageTextureTest : public GLTest {};

TEST_F(StageTextureTest, ResolvedSurfacesDrawTheirImagesAndRetexturingFreesTheOldOnes) {
    ScratchDir dir;
    WriteTexturedGame(dir.File("game"));
    TGameAssets assets(dir.File("tmp/"));
    ASSERT_TRUE(assets.UseGameFolder(dir.File("game")).empty());
    TMD3 cube;
    MakeCube(cube);
    TObjTexture textures;
    TShaders shaders(&textures);
    const TModelOrigin origin{false, "", ""};
    std::vector<std::string> statuses;
    for (int round = 0; round < 2; ++round) {
        SetMD3ShaderIndices(
            cube, ResolveSurfaceShaders(MD3SurfaceShaderRefs(cube), assets, origin, shaders));
        EXPECT_TRUE(
            CreateStageTextures(shaders, textures, 1.0f, assets, origin, [&](const std::string& s) {
                statuses.push_back(s);
            }).empty());
    }
    EXPECT_EQ(statuses,
              (std::vector<std::string>{"Creating textures...", "", "Creating textures...", ""}));
    // The first round's texture went with the store it belonged to.
    EXPECT_EQ(textures.Cache().size(), 1u);
    ASSERT_EQ(shaders.Count(), 1);
    const TShaderTexture& stage = shaders.shaders[0].stages.at(0);
    EXPECT_NE(stage.texture, 0u);
    EXPECT_EQ(stage.imageWidth, 8);
    EXPECT_EQ(stage.blendSrc, kGlDstColor);  // an opaque image modulates the white base

    TSceneRenderer renderer(ogl_, shaders);
    TCamera& camera = ogl_.Camera();
    camera.position = {0, 0, 100};
    camera.target = kVectorZero;
    camera.up = kVectorPosY;
    TViewState view;
    TViewSwitches sw;
    sw.lighting = false;
    sw.showTags = false;
    renderer.RedrawView(view, sw, TSceneColors{}, {kModelKindMD3, &cube, 0, -1}, true, false);
    const auto [r, g, b] = kGameGreen;
    EXPECT_TRUE(ColourNear(Read().Pixel(kWidth / 2, kHeight / 2), r, g, b));
}

// Every frame of an animated image is found and loaded, and time picks the one drawn.
TEST_F(StageTextureTest, AnimatedImagesLoadEveryFrameAndShowOneByTime) {
    ScratchDir dir;
    WriteTexturedGame(dir.File("game"));
    TGameAssets assets(dir.File("tmp/"));
    ASSERT_TRUE(assets.UseGameFolder(dir.File("game")).empty());
    TObjTexture textures;
    TShaders shaders(&textures);
    const int index =
        shaders.LoadShader(PrepareShaderLines("anim\n{\n{\nanimMap 1 textures/sample/green.tga "
                                              "textures/sample/red.tga\n}\n}\n",
                                              true),
                           "anim", 0, "anim");
    const TModelOrigin origin{false, "", ""};
    EXPECT_TRUE(CreateStageTextures(shaders, textures, 1.0f, assets, origin).empty());
    const TStageEffects& fx = shaders.shaders.at(index).stages.at(0).effects;
    ASSERT_EQ(fx.animFrameTextures.size(), 2u);
    EXPECT_NE(fx.animFrameTextures[0], 0u);
    EXPECT_NE(fx.animFrameTextures[1], 0u);
    EXPECT_NE(fx.animFrameTextures[0], fx.animFrameTextures[1]);

    TMD3 cube;
    MakeCube(cube);
    for (TSurface& s : cube.header.surfaces)
        s.shaders.at(0).shaderIndex = index;
    TSceneRenderer renderer(ogl_, shaders);
    TCamera& camera = ogl_.Camera();
    camera.position = {0, 0, 100};
    camera.target = kVectorZero;
    camera.up = kVectorPosY;
    TViewState view;
    TViewSwitches sw;
    sw.lighting = false;
    sw.showTags = false;
    for (const auto& [time, colour] : {std::pair{0.5, kGameGreen}, std::pair{1.5, kListRed}}) {
        TSceneModel scene{kModelKindMD3, &cube, 0, -1};
        scene.shaderTime = time;
        renderer.RedrawView(view, sw, TSceneColors{}, scene, true, false);
        const auto [r, g, b] = colour;
        EXPECT_TRUE(ColourNear(Read().Pixel(kWidth / 2, kHeight / 2), r, g, b)) << time;
    }
}

}  // namespace
