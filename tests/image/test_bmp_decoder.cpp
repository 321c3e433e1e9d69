#include <gtest/gtest.h>

#include <vector>

#include "image_factory.h"
#include "io/little_endian.h"
#include "image/bmp_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The decoded image must be the picture upside down (first row = bottom row), opaque.
void ExpectBottomUp(const Image& picture, const ImageResult& result) {
    ASSERT_TRUE(result) << result.error;
    const Image& image = *result.image;
    ASSERT_EQ(image.width, picture.width);
    ASSERT_EQ(image.height, picture.height);
    EXPECT_FALSE(image.hasAlpha);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* want = &picture.pixels[(y * picture.width + x) * 4];
            const std::uint8_t* got =
                &image.pixels[((picture.height - 1 - y) * picture.width + x) * 4];
            ASSERT_TRUE(got[0] == want[0] && got[1] == want[1] && got[2] == want[2] &&
                        got[3] == 255)
                << "pixel " << x << "," << y;
        }
    }
}

Image FewColours(int width, int height) {
    Image picture = GradientPicture(width, height);
    for (auto& byte : picture.pixels)
        byte &= 0xE0;
    return picture;
}

void PutU32(Bytes& file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(BmpDecoder, DecodesEveryDepthAndRowOrder) {
    // Width 3 pads 24-bit and 8-bit rows; height 5 tells bottom-up from top-down.
    const Image picture = FewColours(3, 5);
    for (int bits : {8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, top-down " << topDown);
            ExpectBottomUp(picture, DecodeBmp(EncodeBmp(picture, bits, topDown)));
        }
    }
}

TEST(BmpDecoder, ReadsBitFieldMasks) {
    const Image picture = GradientPicture(4, 2);
    Bytes file = EncodeBmp(picture, 32, false);
    // Compression 3 with masks after the info header that put red in the lowest byte, so
    // every stored pixel must be read as blue, green, red -> red = stored blue.
    PutU32(file, 30, 3);
    const Bytes masks = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0};
    file.insert(file.begin() + 54, masks.begin(), masks.end());
    PutU32(file, 10, 54 + 12);
    Image swapped = picture;
    for (std::size_t i = 0; i < swapped.pixels.size(); i += 4) {
        std::swap(swapped.pixels[i], swapped.pixels[i + 2]);
    }
    ExpectBottomUp(swapped, DecodeBmp(file));
}

TEST(BmpDecoder, UnpacksOneBitRowsAcrossByteBoundaries) {
    // 10 x 1, palette black and white, pixels 1010110011: two bytes plus padding.
    Bytes file = EncodeBmp(FewColours(10, 1), 24, false);
    file.resize(54);
    PutU32(file, 10, 54 + 8);
    file[28] = 1;
    PutU32(file, 46, 2);
    const Bytes tail = {0, 0, 0, 0, 255, 255, 255, 0, 0b10101100, 0b11000000, 0, 0};
    file.insert(file.end(), tail.begin(), tail.end());
    const ImageResult result = DecodeBmp(file);
    ASSERT_TRUE(result) << result.error;
    const int expected[10] = {1, 0, 1, 0, 1, 1, 0, 0, 1, 1};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(result.image->pixels[x * 4], expected[x] * 255) << x;
}

TEST(BmpDecoder, RefusesWhatItCannotDecode) {
    const Bytes good = EncodeBmp(FewColours(4, 4), 24, false);
    Bytes notBmp = good;
    notBmp[0] = 'X';
    Bytes sixteenBits = good;
    sixteenBits[28] = 16;
    Bytes runLength = EncodeBmp(FewColours(4, 4), 8, false);
    PutU32(runLength, 30, 1);
    Bytes huge = good;
    PutU32(huge, 18, 16384);
    PutU32(huge, 22, 0x80000000u);  // INT_MIN: top-down of a height that cannot be negated
    Bytes tall = good;
    PutU32(tall, 22, 16000);
    Bytes badHeader = good;
    PutU32(badHeader, 14, 0xFFFFFFFFu);
    for (const Bytes* file : {&notBmp, &sixteenBits, &runLength, &huge, &tall, &badHeader}) {
        const ImageResult result = DecodeBmp(*file);
        EXPECT_FALSE(result);
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(BmpDecoder, EveryTruncationFailsCleanly) {
    for (int bits : {8, 24, 32}) {
        const Bytes file = EncodeBmp(FewColours(3, 3), bits, false);
        for (std::size_t size = 0; size < file.size(); ++size) {
            const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_FALSE(DecodeBmp(prefix)) << bits << " bits, prefix of " << size << " bytes";
        }
    }
}

}  // namespace
