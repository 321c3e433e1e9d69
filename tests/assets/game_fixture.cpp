#include "game_fixture.h"

#include <filesystem>
#include <fstream>

#include "image_factory.h"

namespace testing_support {

std::string GameFixture::Pak(const std::string& name, const std::vector<ZipEntry>& entries) {
    std::filesystem::create_directories(Etmain());
    WriteZip(Etmain() + name, entries);
    return Etmain() + name;
}

std::string GameFixture::Loose(const std::string& relative, const std::string& text) {
    const std::filesystem::path path = dir_.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

TGameAssets& GameFixture::Assets(const std::vector<std::string>& paks) {
    assets_ = std::make_unique<TGameAssets>(TmpDir());
    for (const std::string& pak : paks)
        EXPECT_GE(assets_->AddPak(pak), 0) << pak;
    EXPECT_TRUE(assets_->CreateWorkFolders().empty());
    assets_->SetGamePath(GamePath());
    return *assets_;
}

std::string ShaderScript(const std::string& name, const std::string& image) {
    return "// test script\n" + name + "\n{\n\tcull none\n\t{\n\t\tmap " + image + "\n\t}\n}\n";
}

std::string JpegFile() {
    const std::vector<std::uint8_t> bytes = EncodeJpeg(GradientPicture(8, 4), false);
    return std::string(bytes.begin(), bytes.end());
}

std::string TgaFile() {
    const std::vector<std::uint8_t> bytes = EncodeTga(GradientPicture(4, 2), 32, false);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace testing_support
