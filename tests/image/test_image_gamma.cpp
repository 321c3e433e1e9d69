#include <gtest/gtest.h>

#include <vector>

#include "image/image_gamma.h"

namespace {

std::vector<std::uint8_t> Brightened(std::vector<std::uint8_t> pixels, float gamma) {
    ApplyGamma(pixels, gamma);
    return pixels;
}

TEST(ImageGamma, ScalesAndKeepsTheHueOfBrightPixels) {
    using P = std::vector<std::uint8_t>;
    EXPECT_EQ(Brightened({100, 150, 200, 7, 10, 20, 30, 99}, 2.0f),
              (P{127, 191, 255, 7, 20, 40, 60, 99}));
    // Truncation, not rounding: 4.5, 7.5, 10.5.
    EXPECT_EQ(Brightened({3, 5, 7, 128}, 1.5f), (P{4, 7, 10, 128}));
    EXPECT_EQ(Brightened({255, 255, 255, 1}, 5.0f), (P{255, 255, 255, 1}));
}

TEST(ImageGamma, StoreAppliesTheAbsoluteFactorOnlyWhenNotOne) {
    SoftwareGamma gamma;
    Image image;
    image.width = 1;
    image.height = 1;
    image.pixels = {100, 150, 200, 50};
    gamma.Apply(image);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{100, 150, 200, 50}));
    gamma.SetGamma(-2.0f);
    EXPECT_EQ(gamma.Gamma(), 2.0f);
    gamma.Apply(image);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{127, 191, 255, 50}));
}

}  // namespace
