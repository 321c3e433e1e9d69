#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "image/png_encoder.h"

namespace {

TEST(PngEncoder, RowsTopFirst) {
    // Two rows, bottom first in memory as the decoders give them: the PNG starts with the top.
    Image picture;
    picture.width = 1;
    picture.height = 2;
    picture.pixels = {1, 2, 3, 255, 4, 5, 6, 255};
    const std::vector<std::uint8_t> png = EncodePng(picture, true);
    ASSERT_GT(png.size(), 8u + 25u + 12u);
    // IDAT follows the 8-byte signature and the 25-byte header chunk.
    const std::size_t length = (std::size_t{png[33]} << 24) | (std::size_t{png[34]} << 16) |
                               (std::size_t{png[35]} << 8) | png[36];
    ASSERT_EQ(std::string(png.begin() + 37, png.begin() + 41), "IDAT");
    std::vector<std::uint8_t> raw(8);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, png.data() + 41, length), Z_OK);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 4, 5, 6, 0, 1, 2, 3}));
    EXPECT_EQ(png[25], 2) << "RGB without alpha";
}

}  // namespace
