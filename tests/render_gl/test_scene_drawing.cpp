// The scene drawn offscreen on Mesa, checked at chosen pixels: a 40-unit square facing a
// camera 100 units away covers the middle of the 160 x 120 view.
#include <GL/gl.h>

#include <array>

#include "gl_test_context.h"
#include "md3/md3.h"
#include "render/gl/scene_renderer.h"
#include "support/test_files.h"

namespace {

std::int16_t Fixed(float v) {
    return static_cast<std::int16_t>(v * 64.0f);
}

// One square in the XY plane, wound clockwise as seen from +Z (front facing), with s running
// 0 to 1 from left to right, and one tag at the origin.
TMD3 Square() {
    TMD3 model;
    THeader& h = model.header;
    std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), h.ident);
    h.numFrames = 1;
    h.numTags = 1;
    h.numSurfaces = 1;
    h.frames.resize(1);
    h.tags.resize(1);
    SetName64("tag_origin", h.tags[0].name);
    h.tags[0].axis[0] = kVectorPosX;
    h.tags[0].axis[1] = kVectorPosY;
    h.tags[0].axis[2] = kVectorPosZ;
    h.surfaces.resize(1);
    TSurface& s = h.surfaces[0];
    s.numFrames = 1;
    s.numShaders = 1;
    s.numVerts = 4;
    s.numTriangles = 2;
    s.shaders.resize(1);
    s.shaders[0].shaderIndex = -1;
    const float c[4][2] = {{-20, -20}, {-20, 20}, {20, 20}, {20, -20}};
    for (int i = 0; i < 4; ++i) {
        s.vertices.push_back({Fixed(c[i][0]), Fixed(c[i][1]), 0, EncodeNormal(kVectorPosZ)});
        s.texCoords.push_back({(c[i][0] + 20) / 40, (c[i][1] + 20) / 40});
    }
    s.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    return model;
}

class SceneTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        model_ = Square();
        TCamera& camera = ogl_.Camera();
        camera.position = {0, 0, 100};
        camera.target = kVectorZero;
        camera.up = kVectorPosY;
        switches_.showTags = false;
        switches_.lighting = false;
    }

    TSceneModel Scene() { return {kModelKindMD3, &model_, 0, -1}; }

    TPixelImage Draw() {
        renderer_.RedrawView(view_, switches_, colours_, Scene(), true, false);
        return Read();
    }

    // A texture with nearest filtering, so each texel shows as it is.
    std::uint32_t Texture(int width, int height, const std::vector<std::uint8_t>& rgba) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba.data());
        return name;
    }

    TShaderTexture Stage(std::uint32_t texture, bool hasAlpha = false) {
        TShaderTexture stage = ShaderHeaderStage("textures/test/square");
        ResetForNextStage(stage);
        stage.texture = texture;
        stage.textureHasAlpha = hasAlpha;
        return stage;
    }

    void UseShader(std::vector<TShaderTexture> stages) {
        shaders_.shaders.push_back({0, std::move(stages)});
        model_.header.surfaces[0].shaders[0].shaderIndex = shaders_.Count() - 1;
    }

    TMD3 model_;
    TShaders shaders_;
    TSceneRenderer renderer_{ogl_, shaders_};
    TViewState view_;
    TViewSwitches switches_;
    TSceneColors colours_;
};

// The middle of the 160 x 120 view.
constexpr int kMidX = 80, kMidY = 60;

TEST_F(SceneTest, UntexturedSurfaceIsWhiteOverTheGradient) {
    const TPixelImage image = Draw();
    EXPECT_TRUE(ColourNear(image.Pixel(kMidX, kMidY), 255, 255, 255));
    EXPECT_TRUE(ColourNear(image.Pixel(2, 1), 100, 139, 203, 6));            // top sky colour
    EXPECT_TRUE(ColourNear(image.Pixel(2, kHeight - 2), 166, 202, 240, 6));  // bottom
}

TEST_F(SceneTest, LightingShadesTheWhiteSurface) {
    switches_.lighting = true;
    view_.rotationAngles = {60, 0, 0};  // turned away from the lights, so not saturated
    const auto lit = Draw().Pixel(kMidX, kMidY);
    EXPECT_EQ(lit[0], lit[1]);
    EXPECT_EQ(lit[1], lit[2]);
    EXPECT_GT(lit[0], 60);
    EXPECT_LT(lit[0], 255);
}

TEST_F(SceneTest, NothingIsDrawnWhileBusyOrHidden) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    renderer_.RedrawView(view_, switches_, colours_, Scene(), true, true);
    renderer_.RedrawView(view_, switches_, colours_, Scene(), false, false);
    EXPECT_TRUE(ColourNear(Read().Pixel(kMidX, kMidY), 0, 0, 0));
}

TEST_F(SceneTest, TexturedStageReplacesTheWhiteBase) {
    UseShader({Stage(Texture(1, 1, {255, 0, 0, 255}))});
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX, kMidY), 255, 0, 0));
}

TEST_F(SceneTest, AlphaTestCutsOutTransparentTexels) {
    // Left texel transparent, right texel opaque green.
    TShaderTexture stage = Stage(Texture(2, 1, {255, 0, 0, 0, 0, 255, 0, 255}), true);
    stage.alphaFunc = kAlphaFuncGE128;
    UseShader({stage});
    const TPixelImage image = Draw();
    EXPECT_TRUE(ColourNear(image.Pixel(kMidX + 10, kMidY), 0, 255, 0));
    const auto left = image.Pixel(kMidX - 10, kMidY);
    EXPECT_FALSE(ColourNear(left, 255, 0, 0, 60)) << "the cut-out shows its texel";
    EXPECT_FALSE(ColourNear(left, 255, 255, 255, 30)) << "a white base pass shows through";
}

TEST_F(SceneTest, AdditiveStageAddsToTheStageBelow) {
    TShaderTexture red = Stage(Texture(1, 1, {255, 0, 0, 255}));
    TShaderTexture blue = Stage(Texture(1, 1, {0, 0, 255, 255}));
    blue.blendSrc = kGlOne;
    blue.blendDst = kGlOne;
    UseShader({red, blue});
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX, kMidY), 255, 0, 255));
}

TEST_F(SceneTest, PassCountsOfLightmapAndBlendedShaders) {
    TShaderTexture lightmap = Stage(0);
    lightmap.textureName = "$lightmap";
    lightmap.lightmap = true;
    UseShader({lightmap, Stage(Texture(1, 1, {0, 0, 255, 255}))});
    Draw();
    // Base pass, the extra lightmap pass and the untextured lightmap stage come first.
    EXPECT_EQ(shaders_.shaders[0].stages[1].passesDrawn, 3);

    UseShader({Stage(Texture(1, 1, {0, 255, 0, 128}), true)});
    Draw();
    EXPECT_EQ(shaders_.shaders[1].stages[0].passesDrawn, 0);
}

// Screenshots, `render` pictures and thumbnails show what the view shows: an alpha-tested hole
// is clear, a blended texel lets half the background through, a glow adds to it.
TEST_F(SceneTest, PicturesShowCutOutsBlendsAndGlowsOverAnyBackground) {
    TShaderTexture cutOut = Stage(Texture(2, 1, {255, 0, 0, 0, 0, 255, 0, 255}), true);
    cutOut.alphaFunc = kAlphaFuncGE128;
    TShaderTexture glow = Stage(Texture(1, 1, {200, 100, 0, 255}));
    glow.blendSrc = kGlOne;
    glow.blendDst = kGlOne;
    struct Case {
        const char* what;
        TShaderTexture stage;
        int x;
        std::array<int, 4> rgba;
    };
    const Case cases[] = {
        {"hole", cutOut, kMidX - 10, {0, 0, 255, 0}},  // the background colour, clear
        {"kept texel", cutOut, kMidX + 10, {0, 255, 0, 255}},
        {"half-transparent texel",
         Stage(Texture(1, 1, {0, 255, 0, 128}), true),
         kMidX,
         {0, 255, 0, 128}},
        {"glow", glow, kMidX, {255, 128, 0, 200}},
    };
    for (const Case& c : cases) {
        UseShader({c.stage});
        const TCapturedView shot = renderer_.CaptureView(view_, switches_, 0xFF0000, Scene());
        ASSERT_EQ(shot.alpha.size(), static_cast<std::size_t>(kWidth) * kHeight);
        const std::size_t i = static_cast<std::size_t>(kMidY) * kWidth + c.x;
        EXPECT_NEAR(shot.alpha[i], c.rgba[3], 3) << c.what;
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(shot.rgb[i * 3 + k], c.rgba[k], 4) << c.what << " channel " << k;
    }
}

// Shader effects on solid-colour textures: what the game's keywords do to the picture.
TEST_F(SceneTest, StageColoursTextureCoordinatesAndFramesFollowTheShader) {
    const std::uint32_t white = Texture(1, 1, {255, 255, 255, 255});
    TShaderTexture red = Stage(white);
    red.effects.rgbGen = TRgbGen::Const;
    red.effects.constColour = {255, 0, 0, 255};
    UseShader({red});
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX, kMidY), 255, 0, 0));

    // Red and green halves: once across the square, four times when scaled by 4.
    const auto changesAcross = [this] {
        const TPixelImage image = Draw();
        int changes = 0;
        bool wasGreen = false;
        bool seen = false;
        for (int x = 0; x < kWidth; ++x) {
            const auto p = image.Pixel(x, kMidY);
            const bool isRed = ColourNear(p, 255, 0, 0, 30), isGreen = ColourNear(p, 0, 255, 0, 30);
            if (!isRed && !isGreen) continue;
            if (seen && isGreen != wasGreen) ++changes;
            wasGreen = isGreen, seen = true;
        }
        return changes;
    };
    TShaderTexture halves = Stage(Texture(2, 1, {255, 0, 0, 255, 0, 255, 0, 255}));
    UseShader({halves});
    EXPECT_EQ(changesAcross(), 1);
    halves.effects.tcMods.push_back({TTcModKind::Scale, {}, {4, 4}});
    UseShader({halves});
    EXPECT_EQ(changesAcross(), 7);

    TShaderTexture frames = Stage(Texture(1, 1, {255, 0, 0, 255}));
    frames.effects.animFrequency = 1;
    frames.effects.animFrames = {"red", "blue"};
    frames.effects.animFrameTextures = {frames.texture, Texture(1, 1, {0, 0, 255, 255})};
    UseShader({frames});
    for (const auto& [time, blue] : {std::pair{0.0, false}, std::pair{1.25, true}}) {
        TSceneModel scene = Scene();
        scene.shaderTime = time;
        renderer_.RedrawView(view_, switches_, colours_, scene, true, false);
        EXPECT_TRUE(ColourNear(Read().Pixel(kMidX, kMidY), blue ? 0 : 255, 0, blue ? 255 : 0))
            << time;
    }

    // A constant half alpha, blended by alpha: half of the background shows through.
    TShaderTexture half = Stage(white);
    half.blendSrc = kGlSrcAlpha;
    half.blendDst = kGlOneMinusSrcAlpha;
    half.effects.blendGiven = true;
    half.effects.alphaGen = TAlphaGen::Const;
    half.effects.constColour = {255, 255, 255, 128};
    UseShader({half});
    const TCapturedView shot = renderer_.CaptureView(view_, switches_, 0, Scene());
    ASSERT_EQ(shot.alpha.size(), static_cast<std::size_t>(kWidth) * kHeight);
    EXPECT_NEAR(shot.alpha[static_cast<std::size_t>(kMidY) * kWidth + kMidX], 128, 3);
}

TEST_F(SceneTest, TagAxesAreDrawnOverTheModel) {
    switches_.showTags = true;
    const TPixelImage image = Draw();
    // The first axis points right from the centre, red; the second points up, green.
    auto found = [&](int x0, int x1, int y0, int y1, int r, int g, int b) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (ColourNear(image.Pixel(x, y), r, g, b, 10)) return true;
        return false;
    };
    EXPECT_TRUE(found(kMidX + 4, kMidX + 8, kMidY - 1, kMidY + 1, 255, 0, 0));
    EXPECT_TRUE(found(kMidX - 1, kMidX + 1, kMidY - 8, kMidY - 4, 0, 255, 0));
}

// A row through the square meets two sides and the diagonal: a few pixels in wireframe,
// about forty when the surface is filled. The surface has no shader, so nothing culls its
// back, and from behind only the polygon mode of back faces keeps it hollow.
TEST_F(SceneTest, WireframeShowsEdgesOnlyFromEitherSideInViewAndScreenshot) {
    switches_.wireframe = true;
    const int row = kMidY + 3;
    for (const float turn : {0.0f, 180.0f}) {
        view_.rotationAngles = {0, turn, 0};
        // The screenshot first, as `render` takes it from a fresh context.
        const TCapturedView shot = renderer_.CaptureView(view_, switches_, 0, Scene());
        ASSERT_EQ(shot.alpha.size(), static_cast<std::size_t>(kWidth) * kHeight);
        int covered = 0;
        for (int x = 0; x < kWidth; ++x)
            covered += shot.alpha[static_cast<std::size_t>(row) * kWidth + x] == 255 ? 1 : 0;
        EXPECT_GE(covered, 2) << "turned " << turn;
        EXPECT_LE(covered, 8) << "turned " << turn;

        const TPixelImage image = Draw();
        int white = 0;
        for (int x = 0; x < kWidth; ++x)
            white += ColourNear(image.Pixel(x, row), 255, 255, 255, 30) ? 1 : 0;
        EXPECT_GE(white, 2) << "turned " << turn;
        EXPECT_LE(white, 8) << "turned " << turn;
    }
}

TEST_F(SceneTest, ScreenshotMasksTheModelAndTakesTheNextFreeNumber) {
    testing_support::ScratchDir dir;
    testing_support::WriteBytes(dir.File("screenshot0.tga"), {0});
    const TScreenshotResult result =
        renderer_.TakeScreenshot(view_, switches_, colours_, Scene(), true, dir.path().string());
    ASSERT_TRUE(result.saved) << result.statusText;
    EXPECT_EQ(result.statusText, "Screenshot saved into file: screenshot1.tga");
    const auto tga = testing_support::ReadBytes(dir.File("screenshot1.tga"));
    ASSERT_EQ(tga.size(), 18u + kWidth * kHeight * 4);
    auto alpha = [&](int x, int yFromBottom) {
        return tga[18 + (static_cast<std::size_t>(yFromBottom) * kWidth + x) * 4 + 3];
    };
    EXPECT_EQ(alpha(kMidX, kMidY), 255);
    EXPECT_EQ(alpha(1, 1), 0);
    EXPECT_EQ(alpha(kWidth - 2, kHeight - 2), 0);
    // The view is drawn again after the two pictures.
    EXPECT_FALSE(renderer_.Capturing());
}

}  // namespace
