// The skeletal model drawn offscreen on Mesa: a square hanging on the root bone of an
// unturned skeleton lies exactly at its weight offsets, so it covers the middle of the
// 160 x 120 view like the MD3 square of the scene tests; and a real player stands upright.
#include <GL/gl.h>

#include "assets/stage_images.h"
#include "gl_test_context.h"
#include "io/user_prompts.h"
#include "render/gl/scene_renderer.h"
#include "render/gl/sky_box.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

constexpr int kMidX = 80, kMidY = 60;

class SkeletalDrawingTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        testing_support::MakeSquarePair(mesh_, anim_);
        TCamera& camera = ogl_.Camera();
        camera.position = {0, 0, 100};
        camera.target = kVectorZero;
        camera.up = kVectorPosY;
        switches_.showTags = false;
        switches_.lighting = false;
    }

    TSceneModel Scene(int pivotTag = -1) {
        TSceneModel scene;
        scene.modelKind = kModelKindMDMMDX;
        scene.mdm = &mesh_;
        scene.mdx = &anim_;
        scene.currentFrame = 1;
        scene.pivotTag = pivotTag;
        return scene;
    }

    TPixelImage Draw() {
        renderer_.RedrawView(view_, switches_, colours_, Scene(), true, false);
        return Read();
    }

    // Whether a pixel near (x, y) has the colour.
    static bool Near(const TPixelImage& image, int x, int y, int r, int g, int b) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (ColourNear(image.Pixel(x + dx, y + dy), r, g, b, 12)) return true;
        return false;
    }

    TMDM mesh_;
    TMDX anim_;
    TShaders shaders_;
    TSceneRenderer renderer_{ogl_, shaders_};
    TViewState view_;
    TViewSwitches switches_;
    TSceneColors colours_;
};

TEST_F(SkeletalDrawingTest, SurfaceIsWhiteWithoutAShaderAndTexturedThroughItsStage) {
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX + 10, kMidY + 10), 255, 255, 255));
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX + 40, kMidY), 100, 139, 203, 40)) << "sky";

    // The white base pass and a red stage on the next unit, drawn at once.
    GLuint red = 0;
    glGenTextures(1, &red);
    glBindTexture(GL_TEXTURE_2D, red);
    const std::uint8_t texel[4] = {255, 0, 0, 255};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    TShaderTexture stage = ShaderHeaderStage("textures/test/square");
    ResetForNextStage(stage);
    stage.texture = red;
    shaders_.shaders.push_back({0, {stage}});
    mesh_.surfaces[0].shaderIndex = 0;
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX + 10, kMidY + 10), 255, 0, 0));
    // With the blend factors the texturing gives an opaque image, over a black background.
    SetStageTexture(shaders_.shaders[0].stages[0], red, false);
    colours_.skyTop = colours_.skyBottom = 0;
    ogl_.SkyBox().SetSkyBoxShown(false);
    EXPECT_TRUE(ColourNear(Draw().Pixel(kMidX + 10, kMidY + 10), 255, 0, 0));
    glDeleteTextures(1, &red);
}

TEST_F(SkeletalDrawingTest, SkeletonTagsAndPivotFollowThePose) {
    switches_.showSkeleton = true;
    switches_.showTags = true;
    const TPixelImage image = Draw();
    // The second bone lies 10 units to the right: an orange line from the root; the tag at
    // (0, 5, 3) points its red axis to the right above it.
    EXPECT_TRUE(Near(image, kMidX + 8, kMidY, 255, 128, 0));
    EXPECT_TRUE(Near(image, kMidX + 8, kMidY - 6, 255, 0, 0));
    // The root bone is the large point, the child a small one.
    EXPECT_TRUE(ColourNear(image.Pixel(kMidX - 3, kMidY + 3), 255, 230, 0, 12));
    EXPECT_FALSE(ColourNear(image.Pixel(kMidX + 12, kMidY + 3), 255, 230, 0, 12));

    // Choosing the tag as pivot brings its game position to the centre of rotation.
    switches_.centerModel = false;
    renderer_.ComputePivot(view_, switches_, Scene(0));
    EXPECT_FLOAT_EQ(view_.pivot.y, -5.0f);
    EXPECT_FLOAT_EQ(view_.pivot.z, -3.0f);
    renderer_.ComputePivot(view_, switches_, Scene(-1));
    EXPECT_FLOAT_EQ(view_.pivot.y, 0.0f);
}

// The legs of a posed player lie below its upper body in the picture when the view shows
// the game's Z axis upwards, as it shows MD3 models. The pose alone would show it on its
// head.
TEST_F(SkeletalDrawingTest, PosedPlayerStandsUpright) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    AnswerYesPrompts prompts;
    ASSERT_TRUE(mesh_.LoadFromFile(
        (testing_support::SampleDir("mdm") / "allied_engineer_body.mdm").string(), prompts));
    ASSERT_TRUE(anim_.LoadFromFile((testing_support::SampleDir("mdx") / "body.mdx").string()));
    mesh_.ClearShaderIndexes();
    ogl_.Camera().position = {0, 0, 160};
    view_.rotationAngles = {-90.0f, 0.0f, 0.0f};

    // The mean picture row (counted from the bottom) covered by one surface alone.
    auto meanRow = [&](const char* surfaceName) {
        TMDM part = mesh_;
        std::erase_if(part.surfaces,
                      [&](const TMDMSurface& s) { return NameFieldText(s.name) != surfaceName; });
        part.header.numSurfaces = static_cast<std::uint32_t>(part.surfaces.size());
        EXPECT_EQ(part.surfaces.size(), 1u) << surfaceName;
        TSceneModel scene = Scene();
        scene.mdm = &part;
        scene.currentFrame = 0;
        const TCapturedView shot = renderer_.CaptureView(view_, switches_, 0, scene);
        double sum = 0;
        int covered = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                if (shot.alpha[static_cast<std::size_t>(y) * shot.width + x] != 0) {
                    sum += y;
                    ++covered;
                }
        EXPECT_GT(covered, 100) << surfaceName;
        return covered > 0 ? sum / covered : 0.0;
    };
    EXPECT_LT(meanRow("l_legs") + 10, meanRow("u_body"));
}

}  // namespace
