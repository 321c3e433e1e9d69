// The sky box images the build puts beside the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_files.h"

namespace {

struct Texel {
    int r, g, b;
};

// A pixel of a 24-bit TGA, in file row order (the texture loader's row t = 0 comes first).
Texel At(const std::vector<std::uint8_t>& tga, int width, int x, int fileRow) {
    const std::size_t i = 18 + (static_cast<std::size_t>(fileRow) * width + x) * 3;
    return {tga[i + 2], tga[i + 1], tga[i]};
}

}  // namespace

TEST(SkyImages, SixUncompressedImagesWithTheSkyAboveTheGround) {
    const std::filesystem::path folder = std::filesystem::path(VELDRA_TEXTURES_DIR) / "BG";
    for (const char* face : {"Left", "Right", "Bottom", "Top", "Front", "Back"}) {
        SCOPED_TRACE(face);
        const auto tga =
            testing_support::ReadBytes((folder / ("sky" + std::string(face) + ".tga")).string());
        ASSERT_GE(tga.size(), 18u);
        EXPECT_EQ(tga[2], 2);  // uncompressed true colour
        const int width = tga[12] | tga[13] << 8;
        const int height = tga[14] | tga[15] << 8;
        EXPECT_EQ(tga[16], 24);
        EXPECT_EQ(width, height);
        ASSERT_EQ(tga.size(), 18u + static_cast<std::size_t>(width) * height * 3);

        if (std::string(face) == "Top" || std::string(face) == "Bottom") continue;
        // Side faces: ground in the first half of the rows, blue sky in the last.
        const Texel ground = At(tga, width, width / 2, height / 8);
        const Texel sky = At(tga, width, width / 2, height - 1 - height / 8);
        EXPECT_GT(sky.b, sky.r + 60);
        EXPECT_GT(ground.r, ground.b);
    }
}
