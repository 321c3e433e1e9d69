#include <GL/gl.h>

#include "gl_test_context.h"
#include "image_factory.h"
#include "render/gl/obj_texture.h"
#include "support/test_files.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteBytes;

Image Solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
            std::uint8_t a = 255) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = r, image.pixels[i + 1] = g, image.pixels[i + 2] = b,
        image.pixels[i + 3] = a;
    }
    return image;
}

// The first texel of level 0 of a texture.
std::array<std::uint8_t, 4> FirstTexel(std::uint32_t texture, int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return {pixels[0], pixels[1], pixels[2], pixels[3]};
}

class TextureStoreTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        std::filesystem::create_directories(dir_.path() / "textures" / "a");
        WriteBytes(dir_.File("textures/a/opaque.tga"),
                   EncodeTga(Solid(2, 2, 100, 150, 200), 24, false));
        WriteBytes(dir_.File("textures/a/cutout.tga"),
                   EncodeTga(Solid(2, 2, 9, 9, 9, 0), 32, true));
        WriteBytes(dir_.File("textures/a/photo.jpg"), EncodeJpeg(Solid(8, 8, 10, 200, 10), false));
        WriteBytes(dir_.File("textures/a/raw.raw"), {1, 2, 3});
        store_.AddSearchDir(dir_.path().string());
    }
    void TearDown() override {
        store_.FreeAllTextures();
        GLTest::TearDown();
    }

    ScratchDir dir_;
    TObjTexture store_;
};

TEST_F(TextureStoreTest, EachFileIsUploadedOnce) {
    const std::uint32_t a = store_.LoadTexture("textures/a/opaque");
    ASSERT_NE(a, 0u);
    EXPECT_EQ(store_.LoadTexture("textures\\a\\opaque.tga"), a);
    EXPECT_EQ(store_.Cache().size(), 1u);
    EXPECT_EQ(store_.Cache()[0].width, 2);
    EXPECT_FALSE(store_.TextureHasAlpha(a));
    EXPECT_TRUE(glIsTexture(a));
}

TEST_F(TextureStoreTest, AlphaOnlyFor32BitTgaAndNothingForOtherKinds) {
    const std::uint32_t cutout = store_.LoadTexture("textures/a/cutout.tga");
    EXPECT_TRUE(store_.TextureHasAlpha(cutout));
    const std::uint32_t photo = store_.LoadTexture("textures/a/photo");
    ASSERT_NE(photo, 0u);
    EXPECT_FALSE(store_.TextureHasAlpha(photo));
    EXPECT_EQ(store_.LoadTexture("textures/a/raw.raw"), 0u);
    EXPECT_EQ(store_.LoadTexture("textures/a/missing"), 0u);
    EXPECT_EQ(store_.Cache().size(), 2u);
}

TEST_F(TextureStoreTest, GammaBrightensNewUploadsOnly) {
    const std::uint32_t bright = store_.LoadTextureWithGamma("textures/a/opaque", 2.0f);
    EXPECT_EQ(store_.Gamma(), 1.0f);
    const auto texel = FirstTexel(bright, 2, 2);
    EXPECT_EQ(texel[0], 127);
    EXPECT_EQ(texel[1], 191);
    EXPECT_EQ(texel[2], 255);
    // Cached: the same texture whatever the gamma.
    EXPECT_EQ(store_.LoadTextureWithGamma("textures/a/opaque", 3.0f), bright);
}

TEST_F(TextureStoreTest, DeletingRemovesExactlyOneEntry) {
    const std::uint32_t a = store_.LoadTexture("textures/a/opaque");
    const std::uint32_t b = store_.LoadTexture("textures/a/cutout");
    store_.DeleteTexture(0);
    EXPECT_EQ(store_.Cache().size(), 2u);
    store_.DeleteTexture(a);
    ASSERT_EQ(store_.Cache().size(), 1u);
    EXPECT_EQ(store_.Cache()[0].texture, b);
    EXPECT_FALSE(glIsTexture(a));
    store_.FreeAllTextures();
    EXPECT_TRUE(store_.Cache().empty());
    EXPECT_FALSE(glIsTexture(b));
}

TEST_F(TextureStoreTest, GammaReloadReplacesEveryStageTexture) {
    TShaders shaders(&store_);
    const int index =
        shaders.AddTextureShader("textures/a/opaque", dir_.File("textures/a/opaque.tga"), 0);
    TShaderTexture& stage = shaders.shaders[index].stages[0];
    stage.texture = store_.LoadTexture(stage.texturePath);
    const std::uint32_t before = stage.texture;
    ReloadStageTextures(shaders, store_, 2.0f);
    ASSERT_NE(stage.texture, 0u);
    EXPECT_FALSE(glIsTexture(before) && before != stage.texture);
    EXPECT_EQ(FirstTexel(stage.texture, 2, 2)[0], 127);
    EXPECT_EQ(store_.Cache().size(), 1u);
}

}  // namespace
