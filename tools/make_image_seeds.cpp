// Writes the small image files that seed the image fuzz targets: one folder per target.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image_factory.h"

namespace {

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Few colours, so that the palette and the run-length packets get exercised.
Image BlockPicture(int width, int height) {
    Image picture = GradientPicture(width, height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] &= 0xC0;
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    const Image gradient = GradientPicture(7, 5);
    const Image blocks = BlockPicture(9, 4);
    Write(corpus / "tga/rgb24.tga", EncodeTga(gradient, 24, false));
    Write(corpus / "tga/rgba32.tga", EncodeTga(gradient, 32, false));
    Write(corpus / "tga/rgba32_rle.tga", EncodeTga(blocks, 32, true));
    Write(corpus / "tga/rgb24_rle.tga", EncodeTga(blocks, 24, true));
    Write(corpus / "bmp/palette8.bmp", EncodeBmp(blocks, 8, false));
    Write(corpus / "bmp/rgb24.bmp", EncodeBmp(gradient, 24, false));
    Write(corpus / "bmp/rgb32_topdown.bmp", EncodeBmp(gradient, 32, true));
    Write(corpus / "jpeg/baseline.jpg", EncodeJpeg(GradientPicture(16, 9), false, 75));
    Write(corpus / "jpeg/progressive.jpg", EncodeJpeg(GradientPicture(16, 9), true, 75));
    return 0;
}
