#include <gtest/gtest.h>

#include "render/transparent_picture.h"

namespace {

// One pixel as drawn over black and over white, and what the picture must hold for it.
struct PixelCase {
    const char* what;
    std::vector<std::uint8_t> black, white;
    std::vector<std::uint8_t> rgb;
    std::uint8_t alpha;
};

TEST(TransparentPicture, OpacityAndColourFromTheTwoBackgrounds) {
    const PixelCase cases[] = {
        {"opaque", {200, 100, 50}, {200, 100, 50}, {200, 100, 50}, 255},
        {"nothing drawn: the background colour", {0, 0, 0}, {255, 255, 255}, {9, 8, 7}, 0},
        // Green leaf at half opacity: (0, 128, 0) over black, (127, 255, 127) over white.
        {"blended by alpha", {0, 128, 0}, {127, 255, 127}, {0, 255, 0}, 128},
        // An additive orange glow saturates white: as opaque as its brightest channel.
        {"additive glow", {200, 100, 0}, {255, 255, 255}, {255, 128, 0}, 200},
        // A red filter lets only red through: blue and green are fully covered.
        {"tinting filter", {0, 0, 0}, {255, 0, 0}, {0, 0, 0}, 255},
    };
    for (const PixelCase& c : cases) {
        std::vector<std::uint8_t> rgb, alpha;
        SeparateFromBackground(c.black, c.white, {9, 8, 7}, rgb, alpha);
        EXPECT_EQ(rgb, c.rgb) << c.what;
        ASSERT_EQ(alpha.size(), 1u);
        EXPECT_EQ(alpha[0], c.alpha) << c.what;
    }
}

}  // namespace
