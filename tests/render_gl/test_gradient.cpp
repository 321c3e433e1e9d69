// The gradient background drawn in window pixels over the picture.
#include <GL/gl.h>

#include "gl_test_context.h"

namespace {

void ClearBlack() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

constexpr TRGBFloats kRed{1, 0, 0};
constexpr TRGBFloats kBlue{0, 0, 1};
constexpr TRGBFloats kGreen{0, 1, 0};

}  // namespace

using Gradient = GLTest;

TEST_F(Gradient, WholePanelRunsFromTheLowerColourAtTheBottomToTheUpperAtTheTop) {
    ClearBlack();
    ogl_.DrawGradientRect({0, 0, kWidth, kHeight}, kRed, kBlue);
    const TPixelImage image = Read();
    ASSERT_EQ(image.width, kWidth);
    EXPECT_TRUE(ColourNear(image.Pixel(0, 0), 0, 0, 255, 4));
    EXPECT_TRUE(ColourNear(image.Pixel(kWidth - 1, 0), 0, 0, 255, 4));
    EXPECT_TRUE(ColourNear(image.Pixel(0, kHeight - 1), 255, 0, 0, 4));
    EXPECT_TRUE(ColourNear(image.Pixel(kWidth - 1, kHeight - 1), 255, 0, 0, 4));
    EXPECT_TRUE(ColourNear(image.Pixel(kWidth / 2, kHeight / 2), 128, 0, 128, 6));
    EXPECT_FALSE(ogl_.OverlayActive());
}

TEST_F(Gradient, PackedColoursPutTheFirstOnTopAndReversedCornersStillFill) {
    ClearBlack();
    // Right before left and bottom above top: the same rectangle as (40, 30)-(120, 90).
    ogl_.DrawGradientRectColors({120, 90, 40, 30}, /*first=*/0x00FF00, /*second=*/0x0000FF);
    const TPixelImage image = Read();
    EXPECT_TRUE(ColourNear(image.Pixel(80, 30), 0, 255, 0, 8));  // upper edge: first
    EXPECT_TRUE(ColourNear(image.Pixel(80, 89), 255, 0, 0, 8));  // lower edge: second
    EXPECT_TRUE(ColourNear(image.Pixel(20, 60), 0, 0, 0));       // left of it
    EXPECT_TRUE(ColourNear(image.Pixel(80, 10), 0, 0, 0));       // above it
    EXPECT_TRUE(ColourNear(image.Pixel(130, 60), 0, 0, 0));      // right of it
}

TEST_F(Gradient, SecondGradientWithoutReapplyingTheProjectionStillDraws) {
    ClearBlack();
    ogl_.DrawGradientRect({0, 0, kWidth, kHeight}, kRed, kRed);
    ogl_.DrawGradientRect({0, 0, kWidth, kHeight}, kGreen, kGreen);
    EXPECT_TRUE(ColourNear(Read().Pixel(kWidth / 2, kHeight / 2), 0, 255, 0));

    // And the perspective projection is back in force afterwards.
    TMatrix4 p;
    glGetFloatv(GL_PROJECTION_MATRIX, p.e);
    EXPECT_FLOAT_EQ(p.at(2, 3), -1.0f);
}

TEST_F(Gradient, DrawsOverTheModelWhateverTheDepthState) {
    ClearBlack();
    glEnable(GL_DEPTH_TEST);
    glClearDepth(0.0);  // everything would fail GL_LESS against this
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glEnable(GL_TEXTURE_2D);
    ogl_.DrawGradientRect({0, 0, kWidth, kHeight}, kBlue, kBlue);
    EXPECT_TRUE(ColourNear(Read().Pixel(10, 10), 0, 0, 255));
}
