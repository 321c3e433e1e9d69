// Every surface's shader and images found the way the game data lays them out.
#include <gtest/gtest.h>

#include "assets/embed_skin.h"
#include "assets/missing_textures.h"
#include "assets/resolve_shader_image.h"
#include "assets/stage_images.h"
#include "assets/surface_resolution.h"
#include "game_fixture.h"
#include "model_factory.h"
#include "shader/gl_blend_factors.h"
#include "shader/shader_flags.h"
#include "support/skeletal_square.h"

using namespace testing_support;

namespace {

constexpr std::uint32_t kGamePak = kShaderFoundInGame | kShaderFoundInArchive;

class SurfaceResolution : public GameFixture {
  protected:
    // pak0 holds the scripts and most images; pak1 repeats one image, which pak1 wins, as
    // the archive the game reads later.
    TGameAssets& Game() {
        const std::string scripts = ShaderScript("models/x/body", "models/x/body_skin.tga") +
                                    ShaderScript("Models/X/Shared", "textures/s.tga");
        const std::string pak0 = Pak("pak0.pk3", {{"scripts/models.shader", scripts},
                                                  {"models/x/body_skin.jpg", JpegFile()},
                                                  {"models/x/red.tga", TgaFile()}});
        const std::string pak1 = Pak("pak1.pk3", {{"models/x/red.tga", "other"}});
        TGameAssets& assets = Assets({pak0, pak1});
        const std::string list =
            Loose("list.shader", ShaderScript("models/x/shared", "textures/list.tga"));
        assets.RebuildShaderList({list, File("missing.shader")});
        return assets;
    }
};

TEST_F(SurfaceResolution, SearchOrderFlagsAndStageImages) {
    TGameAssets& assets = Game();
    assets.Skin() = ParseSkin("Arm,  \"Models/X/Red.tga\"\r\n");
    Loose("model/loose.jpg", JpegFile());
    const TModelOrigin origin{true, File("model/"), ""};
    struct Case {
        TSurfaceShaderRef surface;
        std::uint32_t flags;  // 0: no entry
        std::string shaderFile;
        std::string image;  // the first stage's image after ResolveStageImages
    };
    const Case cases[] = {
        // A shader named with ".tga" finds the script's shader by its base name; its stage
        // image exists only as .jpg in the first PAK and is extracted there.
        {{"body", "models/x/body.tga"},
         kShaderFoundInScript | kGamePak,
         "GAME:\\\\scripts\\models.shader",
         TmpDir() + "gp0/models/x/body_skin.jpg"},
        // A skin line with blanks and quotes; the last PAK holding the image wins.
        {{"ARM", "models/x/arm.tga"},
         kShaderNameFromSkin | kShaderImageFound | kGamePak,
         "",
         TmpDir() + "gp1/models/x/red.tga"},
        // A leading separator is dropped as the game's file system drops it.
        {{"lead", "\\models/x/red"},
         kShaderImageFound | kGamePak,
         "",
         TmpDir() + "gp1/models/x/red.tga"},
        // The shader list wins over the game.
        {{"shared", "\"models/x/shared\""},
         kShaderFoundInScript | kShaderFromShaderList,
         "SHADERLIST:\\\\list.shader",
         ""},
        {{"loose", "loose.tga"}, kShaderImageFound, "", File("model/loose.jpg")},
        {{"none", "models/x/missing"}, 0, "", ""},
        {{"empty", ""}, 0, "", ""},
    };
    std::vector<TSurfaceShaderRef> surfaces;
    for (const Case& c : cases)
        surfaces.push_back(c.surface);
    TShaders shaders;
    const TSurfaceResolution result = ResolveSurfaceShaders(surfaces, assets, origin, shaders);
    EXPECT_TRUE(result.problems.empty());
    EXPECT_TRUE(ResolveStageImages(shaders, assets, origin).empty());
    ASSERT_EQ(result.surfaces.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const TSurfaceShaderResult& r = result.surfaces[i];
        SCOPED_TRACE(c.surface.surfaceName);
        EXPECT_EQ(r.shaderFile, c.shaderFile);
        if (c.flags == 0) {
            EXPECT_EQ(r.shaderIndex, -1);
            continue;
        }
        ASSERT_TRUE(shaders.ValidIndex(r.shaderIndex));
        const TShaderObj& entry = shaders.shaders[r.shaderIndex];
        EXPECT_EQ(entry.flags, c.flags);
        ASSERT_FALSE(entry.stages.empty());
        EXPECT_EQ(entry.stages[0].texturePath, c.image);
    }
    EXPECT_EQ(result.surfaces[0].shaderNameFound, "models/x/body");
    EXPECT_EQ(shaders.shaders[result.surfaces[0].shaderIndex].stages[0].imageWidth, 8);
    EXPECT_EQ(shaders.shaders[result.surfaces[0].shaderIndex].stages[0].cull, 0);
    EXPECT_EQ(assets.Skin()[0].resolvedName, "models/x/red.tga");
    // What stays untextured is named: surfaces, then stage images.
    EXPECT_EQ(MissingTextures(surfaces, result, shaders, assets.Skin()),
              (std::vector<std::string>{
                  "surface \"none\": no shader or image \"models/x/missing\" found",
                  "surface \"empty\" names no shader and no skin line gives it one",
                  "image \"textures/list.tga\" of shader \"models/x/shared\" not found"}));
    // The window's form: one line per surface, with the images looked for.
    std::vector<std::string> lines;
    for (const TSurfaceMissingTextures& m :
         MissingSurfaceTextures(surfaces, result, shaders, assets.Skin()))
        lines.push_back(MissingTexturesLine(m));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "surface \"shared\": shader \"models/x/shared\", images not found: "
                         "textures/list.tga, textures/list.jpg, textures/list.bmp",
                         "surface \"none\": shader \"models/x/missing\" is in no script and no "
                         "image was found: models/x/missing, models/x/missing.tga, "
                         "models/x/missing.jpg, models/x/missing.bmp",
                         "surface \"empty\": names no shader and no skin line gives it one"}));
}

TEST_F(SurfaceResolution, WithoutGameEverySurfaceStaysWhite) {
    TGameAssets assets(TmpDir());
    assets.RebuildShaderList({Loose("list.shader", ShaderScript("a", "a.tga"))});
    TShaders shaders;
    shaders.AddTextureShader("old", "old.tga", 0);
    const TSurfaceResolution result =
        ResolveSurfaceShaders({{"s", "a"}}, assets, TModelOrigin{}, shaders);
    EXPECT_EQ(result.surfaces[0].shaderIndex, -1);
    EXPECT_EQ(shaders.Count(), 0);
}

TEST_F(SurfaceResolution, EmbedSkinWritesTheResolvedNames) {
    TGameAssets& assets = Game();
    TMD3 model;
    MakeModel(model, {.surfaces = 3});
    for (int i = 0; i < 3; ++i)
        SetName64(std::string("s") + char('0' + i), model.header.surfaces[i].name);
    assets.Skin() = ParseSkin("s0,models/x/body.tga\ns1,models/x/nothing.tga\n");
    TShaders shaders;
    const TSurfaceResolution result =
        ResolveSurfaceShaders(MD3SurfaceShaderRefs(model), assets, TModelOrigin{}, shaders);
    SetMD3ShaderIndices(model, result);
    EXPECT_GE(model.header.surfaces[0].shaders[0].shaderIndex, 0);
    EXPECT_EQ(model.header.surfaces[1].shaders[0].shaderIndex, -1);

    EXPECT_EQ(EmbedSkin(model, assets.Skin()), 1);
    EXPECT_EQ(NameFieldText(model.header.surfaces[0].shaders[0].name), "models/x/body");
    EXPECT_EQ(NameFieldText(model.header.surfaces[1].shaders[0].name),
              "textures/sample/surface1_0");
    EXPECT_EQ(EmbedSkin(model, TSkin{}), 0);

    // Player meshes the same way, through their own adapter.
    TMDM mesh;
    TMDX anim;
    MakeSquarePair(mesh, anim, {.surfaces = 2});
    mesh.SetSurfaceShader(1, "models/x/kept");
    assets.Skin() = ParseSkin("Square, models/x/body.tga\nsquare1, models/x/nothing.tga\n");
    SetMDMShaderIndices(
        mesh, ResolveSurfaceShaders(MDMSurfaceShaderRefs(mesh), assets, TModelOrigin{}, shaders));
    EXPECT_GE(mesh.surfaces[0].shaderIndex, 0);
    EXPECT_EQ(mesh.surfaces[1].shaderIndex, -1);
    EXPECT_EQ(EmbedSkin(mesh, assets.Skin()), 1);
    EXPECT_EQ(NameFieldText(mesh.surfaces[0].shader), "models/x/body");
    EXPECT_EQ(NameFieldText(mesh.surfaces[1].shader), "models/x/kept");
}

TEST_F(SurfaceResolution, ShaderImageForConverters) {
    TGameAssets& assets = Game();
    TShaders shaders;
    TShaderImage image = ResolveShaderImage("\"Models/X/Body\"", assets, TModelOrigin{}, shaders);
    EXPECT_TRUE(image.found);
    EXPECT_EQ(image.imagePath, TmpDir() + "gp0/models/x/body_skin.jpg");
    image = ResolveShaderImage("models/x/red", assets, TModelOrigin{}, shaders);
    EXPECT_EQ(image.imagePath, TmpDir() + "gp1/models/x/red.tga");
    EXPECT_FALSE(ResolveShaderImage("textures/none", assets, TModelOrigin{}, shaders).found);
}

TEST(StageTexture, BlendFactorsOnlyWhereTheScriptGaveNone) {
    TShaderTexture stage;
    SetStageTexture(stage, 7, true);
    EXPECT_EQ(stage.texture, 7u);
    EXPECT_EQ(stage.blendSrc, kGlSrcAlpha);
    EXPECT_EQ(stage.blendDst, kGlOneMinusSrcAlpha);
    stage = TShaderTexture{};
    SetStageTexture(stage, 7, false);
    EXPECT_EQ(stage.blendSrc, kGlDstColor);
    stage.blendSrc = kGlOne;
    stage.blendDst = kGlOne;
    SetStageTexture(stage, 8, true);
    EXPECT_EQ(stage.blendSrc, kGlOne);
}

}  // namespace
