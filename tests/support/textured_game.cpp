#include "support/textured_game.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image_factory.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace testing_support {

namespace {

Image OneColour(const Rgb& colour) {
    Image picture;
    picture.width = 8;
    picture.height = 8;
    for (int i = 0; i < picture.width * picture.height; ++i) {
        for (int c : colour)
            picture.pixels.push_back(static_cast<std::uint8_t>(c));
        picture.pixels.push_back(255);
    }
    return picture;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string Script(const std::string& image) {
    return "textures/sample/cube\n{\n\t{\n\t\tmap " + image + "\n\t}\n}\n";
}

}  // namespace

std::string OneColourTga(const Rgb& colour) {
    return Text(EncodeTga(OneColour(colour), 24, false));
}

std::string CubeModelBytes() {
    TMD3 cube;
    MakeCube(cube);
    const ScratchDir scratch;
    EXPECT_TRUE(cube.SaveToFile(scratch.File("cube.md3")));
    return Text(ReadBytes(scratch.File("cube.md3")));
}

std::string WriteTexturedGame(const std::string& gameFolder) {
    const std::filesystem::path etmain = std::filesystem::path(gameFolder) / "etmain";
    std::filesystem::create_directories(etmain);
    const std::string pak = (etmain / "pak0.pk3").string();
    WriteZip(pak, {{kCubeEntry, CubeModelBytes()},
                   {kCubeSkinEntry, BlueSkinText()},
                   {"scripts/sample.shader", Script("textures/sample/green.tga")},
                   {"textures/sample/green.tga", OneColourTga(kGameGreen)},
                   {"textures/sample/red.tga", OneColourTga(kListRed)},
                   {"textures/sample/blue.jpg", Text(EncodeJpeg(OneColour(kSkinBlue), false))}});
    return pak;
}

std::string BlueSkinText() {
    return "Cube, \"Textures/Sample/Blue.tga\"\n";
}

std::string RedShaderListScript() {
    return Script("textures/sample/red.tga");
}

}  // namespace testing_support
