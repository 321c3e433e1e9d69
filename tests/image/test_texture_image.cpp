#include <gtest/gtest.h>

#include <string>

#include "image_factory.h"
#include "io/file_error.h"
#include "image/image_size.h"
#include "image/texture_image.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteBytes;

TEST(TextureImage, ExtensionChoosesDecoderMipmapsAndFormat) {
    ScratchDir dir;
    const Image picture = GradientPicture(4, 3);
    WriteBytes(dir.File("a.tga"), EncodeTga(picture, 32, false));
    WriteBytes(dir.File("b.Jpg"), EncodeJpeg(picture, false));
    WriteBytes(dir.File("c.bmp"), EncodeBmp(picture, 24, false));
    WriteBytes(dir.File("d.raw"), EncodeTga(picture, 32, false));
    WriteBytes(dir.File("e.png"), EncodeTga(picture, 32, false));

    const TextureImageResult tga = DecodeImageFile(dir.File("a.tga"));
    ASSERT_TRUE(tga) << tga.error;
    EXPECT_FALSE(tga.texture->buildMipmaps);
    EXPECT_EQ(tga.texture->internalFormat, TextureFormat::kRGBA);
    EXPECT_TRUE(tga.texture->image.hasAlpha);
    for (const char* name : {"b.Jpg", "c.bmp"}) {
        const TextureImageResult other = DecodeImageFile(dir.File(name));
        ASSERT_TRUE(other) << name << ": " << other.error;
        EXPECT_TRUE(other.texture->buildMipmaps);
        EXPECT_EQ(other.texture->internalFormat, TextureFormat::kRGB);
        EXPECT_FALSE(other.texture->image.hasAlpha);
    }
    EXPECT_FALSE(DecodeImageFile(dir.File("d.raw")));
    EXPECT_FALSE(DecodeImageFile(dir.File("e.png")));
    EXPECT_THROW(DecodeImageFile(dir.File("missing.tga")), FileError);
    // A JPEG named as a TGA is not a TGA.
    WriteBytes(dir.File("f.tga"), EncodeJpeg(picture, false));
    EXPECT_FALSE(DecodeImageFile(dir.File("f.tga")));
}

TEST(ImageSize, ReadsEachKindThroughTheSearchFolders) {
    ScratchDir dir;
    TexturePaths paths;
    paths.AddSearchDir(dir.path().string());
    // The TGA header alone decides, even with the pixels missing.
    std::vector<std::uint8_t> tga = EncodeTga(GradientPicture(5, 7), 24, false);
    tga.resize(20);
    WriteBytes(dir.File("t.tga"), tga);
    WriteBytes(dir.File("j.jpg"), EncodeJpeg(GradientPicture(9, 2), true));
    WriteBytes(dir.File("b.bmp"), EncodeBmp(GradientPicture(3, 4), 32, true));
    WriteBytes(dir.File("short.tga"), std::vector<std::uint8_t>(17, 0));
    WriteBytes(dir.File("bad.bmp"), std::vector<std::uint8_t>(100, 0));
    WriteBytes(dir.File("r.raw"), tga);

    const auto t = ReadImageSize(paths, "t");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->extension, ".TGA");
    EXPECT_EQ(t->width, 5);
    EXPECT_EQ(t->height, 7);
    const auto j = ReadImageSize(paths, "J.JPG");
    ASSERT_TRUE(j);
    EXPECT_EQ(j->extension, ".JPG");
    EXPECT_EQ(j->width, 9);
    EXPECT_EQ(j->height, 2);
    const auto b = ReadImageSize(paths, "b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->extension, ".BMP");
    EXPECT_EQ(b->width, 3);
    EXPECT_EQ(b->height, 4);
    for (const char* name : {"short.tga", "bad.bmp", "r.raw", "nothing"}) {
        EXPECT_FALSE(ReadImageSize(paths, name)) << name;
    }
}

TEST(TextureImage, DecodesEveryRealSampleAtItsStoredSize) {
    VELDRA_REQUIRE_SAMPLES("textures");
    int decoded = 0;
    for (const auto& file : testing_support::SampleFiles("textures")) {
        SCOPED_TRACE(file.filename().string());
        const TextureImageResult result = DecodeImageFile(file.string());
        ASSERT_TRUE(result) << result.error;
        const Image& image = result.texture->image;
        ASSERT_EQ(image.pixels.size(), std::size_t(image.width) * image.height * 4);
        const auto size = ReadImageFileSize(file.string());
        ASSERT_TRUE(size);
        EXPECT_EQ(size->width, image.width);
        EXPECT_EQ(size->height, image.height);
        ++decoded;
    }
    EXPECT_GE(decoded, 17);
}

TEST(TextureImage, RealSamplesHaveTheirKnownTraits) {
    VELDRA_REQUIRE_SAMPLES("textures");
    const auto dir = testing_support::SampleDir("textures");
    const auto load = [&](const char* name) {
        TextureImageResult result = DecodeImageFile((dir / name).string());
        EXPECT_TRUE(result) << name << ": " << result.error;
        return result.texture ? result.texture->image : Image{};
    };
    EXPECT_TRUE(load("cartridge.tga").hasAlpha);    // run-length, 32 bits
    EXPECT_TRUE(load("euro_frnt_2.tga").hasAlpha);  // 32 bits, descriptor says no alpha
    const Image jeep = load("jeep1.jpg");           // progressive
    EXPECT_EQ(jeep.width, 512);
    EXPECT_EQ(jeep.height, 512);
    EXPECT_EQ(load("etl_installer_header.bmp").width, 150);
    const Image white = load("white.bmp");
    ASSERT_EQ(white.pixels.size(), 4u);
    EXPECT_EQ(white.pixels, (std::vector<std::uint8_t>{255, 255, 255, 255}));
}

}  // namespace
