#include <gtest/gtest.h>

#include "render/screenshot_file.h"
#include "support/test_files.h"

namespace {

TEST(ScreenshotFile, TgaHeaderAndPixelsWithoutRowPadding) {
    const int width = 801, height = 2;
    std::vector<std::uint8_t> rgb(width * height * 3), mask(width * height, 0);
    rgb[0] = 10, rgb[1] = 20, rgb[2] = 30;
    mask[0] = 255;
    const std::size_t last = width * height - 1;
    rgb[last * 3] = 1, rgb[last * 3 + 1] = 2, rgb[last * 3 + 2] = 3;
    const auto tga = BuildScreenshotTga(width, height, rgb, mask);
    ASSERT_EQ(tga.size(), 18u + 801 * 4 * 2);
    const std::vector<std::uint8_t> header(tga.begin(), tga.begin() + 18);
    EXPECT_EQ(header, (std::vector<std::uint8_t>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x21, 3, 2, 0,
                                                 32, 3}));
    EXPECT_EQ(std::vector<std::uint8_t>(tga.begin() + 18, tga.begin() + 22),
              (std::vector<std::uint8_t>{30, 20, 10, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(tga.end() - 4, tga.end()),
              (std::vector<std::uint8_t>{3, 2, 1, 0}));
}

TEST(ScreenshotFile, NumbersFollowTheFirstFreeName) {
    testing_support::ScratchDir dir;
    EXPECT_EQ(NextScreenshotNumber(dir.path().string()), 0);
    testing_support::WriteBytes(dir.File("screenshot0.tga"), {1});
    testing_support::WriteBytes(dir.File("screenshot2.tga"), {1});
    EXPECT_EQ(NextScreenshotNumber(dir.path().string()), 1);
    EXPECT_EQ(ScreenshotFileName(1), "screenshot1.tga");
}

}  // namespace
