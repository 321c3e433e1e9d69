#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "image_factory.h"
#include "image/jpeg_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Offset of the frame header's height field (SOF0 or SOF2 marker + 5).
std::size_t FrameSizeOffset(const Bytes& file) {
    for (std::size_t i = 0; i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) return i + 5;
    }
    ADD_FAILURE() << "no frame header";
    return 0;
}

void SetFrameSize(Bytes& file, int width, int height) {
    const std::size_t at = FrameSizeOffset(file);
    file[at] = static_cast<std::uint8_t>(height >> 8);
    file[at + 1] = static_cast<std::uint8_t>(height);
    file[at + 2] = static_cast<std::uint8_t>(width >> 8);
    file[at + 3] = static_cast<std::uint8_t>(width);
}

TEST(JpegDecoder, DecodesBaselineAndProgressiveBottomUp) {
    const Image picture = GradientPicture(21, 13);
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const ImageResult result = DecodeJpeg(EncodeJpeg(picture, progressive));
        ASSERT_TRUE(result) << result.error;
        const Image& image = *result.image;
        ASSERT_EQ(image.width, 21);
        ASSERT_EQ(image.height, 13);
        EXPECT_FALSE(image.hasAlpha);
        int worst = 0;
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 21; ++x) {
                const std::uint8_t* want = &picture.pixels[(y * 21 + x) * 4];
                const std::uint8_t* got = &image.pixels[((12 - y) * 21 + x) * 4];
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, std::abs(got[c] - want[c]));
                ASSERT_EQ(got[3], 255);
            }
        }
        // Chroma subsampling blurs colour edges a little; a flipped row order would be off
        // by far more (the green ramp spans 255 over the height).
        EXPECT_LE(worst, 24);
    }
}

TEST(JpegDecoder, ReadsTheSizeFromTheHeaderAlone) {
    Bytes file = EncodeJpeg(GradientPicture(30, 10), false);
    // Cut just after the start of the first scan: no pixel data at all.
    for (std::size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xDA) {
            file.resize(i + 16);
            break;
        }
    }
    JpegSize size;
    std::string error;
    ASSERT_TRUE(ReadJpegSize(file, size, error)) << error;
    EXPECT_EQ(size.width, 30);
    EXPECT_EQ(size.height, 10);
    EXPECT_FALSE(ReadJpegSize(Bytes(100, 0x55), size, error));
    EXPECT_FALSE(error.empty());
}

TEST(JpegDecoder, EveryTruncationOfTheDataFails) {
    for (bool progressive : {false, true}) {
        const Bytes file = EncodeJpeg(GradientPicture(16, 16), progressive, 80);
        // Only the end-of-image marker may be missing for the image to be whole.
        for (std::size_t size = 0; size + 2 < file.size(); ++size) {
            const ImageResult result = DecodeJpeg(Bytes(file.begin(), file.begin() + size));
            ASSERT_FALSE(result) << "prefix of " << size << " of " << file.size();
            ASSERT_FALSE(result.error.empty());
        }
    }
}

TEST(JpegDecoder, BadHeadersFailInsteadOfEndingTheProgram) {
    EXPECT_FALSE(DecodeJpeg(Bytes{}));
    EXPECT_FALSE(DecodeJpeg(Bytes(64, 0xFF)));
    Bytes empty = EncodeJpeg(GradientPicture(8, 8), false);
    SetFrameSize(empty, 0, 8);
    EXPECT_FALSE(DecodeJpeg(empty));
    for (bool progressive : {false, true}) {
        // Too large for the limit: refused before any pixel is decoded.
        Bytes huge = EncodeJpeg(GradientPicture(8, 8), progressive);
        SetFrameSize(huge, 20000, 20000);
        const ImageResult result = DecodeJpeg(huge);
        EXPECT_FALSE(result);
        EXPECT_NE(result.error.find("limit"), std::string::npos) << result.error;
        // Within the limit but with data for 8 x 8 pixels only.
        SetFrameSize(huge, 16384, 16384);
        EXPECT_FALSE(DecodeJpeg(huge));
    }
}

}  // namespace
