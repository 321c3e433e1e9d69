#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "image_factory.h"
#include "io/file_error.h"
#include "image/tga_decoder.h"
#include "support/test_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<int, 4>;

Rgba PixelOf(const Image& image, int index) {
    const std::uint8_t* p = &image.pixels[static_cast<std::size_t>(index) * 4];
    return {p[0], p[1], p[2], p[3]};
}

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(TgaDecoder, TurnsBlueGreenRedIntoOpaqueRgbaFor24Bits) {
    const ImageResult result = DecodeTga(Concat(TgaHeader(2, 1, 24, 2), {10, 20, 30, 40, 50, 60}));
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.image->width, 2);
    EXPECT_EQ(result.image->height, 1);
    EXPECT_FALSE(result.image->hasAlpha);
    EXPECT_EQ(PixelOf(*result.image, 0), (Rgba{30, 20, 10, 255}));
    EXPECT_EQ(PixelOf(*result.image, 1), (Rgba{60, 50, 40, 255}));
}

TEST(TgaDecoder, KeepsTheFilesRowOrderAndAlphaIn32Bits) {
    const Image picture = GradientPicture(5, 3);
    for (bool runLength : {false, true}) {
        const ImageResult result = DecodeTga(EncodeTga(picture, 32, runLength));
        ASSERT_TRUE(result) << result.error;
        EXPECT_TRUE(result.image->hasAlpha);
        EXPECT_EQ(result.image->pixels, picture.pixels) << "run-length " << runLength;
    }
}

TEST(TgaDecoder, ExpandsRunAndRawPackets) {
    // 0x83: one pixel four times; 0x01: two raw pixels.
    const Bytes packets = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9};
    const ImageResult result = DecodeTga(Concat(TgaHeader(6, 1, 24, 10), packets));
    ASSERT_TRUE(result) << result.error;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PixelOf(*result.image, i), (Rgba{3, 2, 1, 255}));
    EXPECT_EQ(PixelOf(*result.image, 4), (Rgba{6, 5, 4, 255}));
    EXPECT_EQ(PixelOf(*result.image, 5), (Rgba{9, 8, 7, 255}));
}

TEST(TgaDecoder, CutsPacketsAtTheEndOfTheImage) {
    // A run of 128 and a raw packet of 4 both end a 3-pixel image without further bytes.
    const ImageResult run = DecodeTga(Concat(TgaHeader(3, 1, 32, 10), {0xFF, 1, 2, 3, 4}));
    ASSERT_TRUE(run) << run.error;
    EXPECT_EQ(PixelOf(*run.image, 2), (Rgba{3, 2, 1, 4}));
    const ImageResult raw =
        DecodeTga(Concat(TgaHeader(3, 1, 24, 10), {0x81, 1, 2, 3, 0x03, 4, 5, 6}));
    ASSERT_TRUE(raw) << raw.error;
    EXPECT_EQ(PixelOf(*raw.image, 2), (Rgba{6, 5, 4, 255}));
}

TEST(TgaDecoder, SkipsTheIdentificationFieldAndColourMap) {
    Bytes header = TgaHeader(1, 1, 24, 2, 3);
    header[1] = 1;   // colour map present:
    header[5] = 2;   // two entries
    header[7] = 24;  // of 24 bits
    const Bytes file = Concat(header, {'i', 'd', '!', 0, 0, 0, 0, 0, 0, 7, 8, 9});
    const ImageResult result = DecodeTga(file);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(PixelOf(*result.image, 0), (Rgba{9, 8, 7, 255}));
}

TEST(TgaDecoder, RefusesUnsupportedDepthsAndEmptyImages) {
    for (int bits : {8, 15, 16}) {
        const Bytes file = Concat(TgaHeader(2, 2, bits, 2), Bytes(16, 0));
        EXPECT_FALSE(DecodeTga(file)) << bits << " bits";
    }
    EXPECT_FALSE(DecodeTga(TgaHeader(0, 4, 24, 2)));
    EXPECT_FALSE(DecodeTga(Concat(TgaHeader(4, 0, 32, 10), {0x80, 1, 2, 3, 4})));
}

TEST(TgaDecoder, EveryTruncationFailsCleanly) {
    const Image picture = GradientPicture(6, 4);
    for (const Bytes& file : {EncodeTga(picture, 24, false), EncodeTga(picture, 32, true)}) {
        ASSERT_TRUE(DecodeTga(file));
        for (std::size_t size = 0; size < file.size(); ++size) {
            const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
            const ImageResult result = DecodeTga(prefix);
            EXPECT_FALSE(result) << "prefix of " << size << " bytes";
            EXPECT_FALSE(result.error.empty());
        }
    }
}

TEST(TgaDecoder, HugeHeadersWithLittleDataFail) {
    // Within the size limit, yet far more pixels than these bytes can describe.
    EXPECT_FALSE(DecodeTga(Concat(TgaHeader(16384, 16384, 32, 10), Bytes(4096, 0xFF))));
    EXPECT_FALSE(DecodeTga(Concat(TgaHeader(16384, 16384, 24, 2), Bytes(4096, 0))));
    EXPECT_FALSE(DecodeTga(Concat(TgaHeader(65535, 65535, 32, 10), Bytes(4096, 0xFF))));
}

TEST(TgaDecoder, UnopenableFileRaisesFileError) {
    testing_support::ScratchDir dir;
    EXPECT_THROW(LoadTgaFile(dir.File("missing.tga")), FileError);
}

}  // namespace
