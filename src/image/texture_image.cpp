#include "image/texture_image.h"

#include "image/bmp_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/texture_paths.h"
#include "image/tga_decoder.h"

TextureImageResult DecodeImageFile(const std::string& fileName) {
    const std::string extension = UpperCaseExtension(fileName);
    ImageResult decoded;
    TextureImage texture;
    if (extension == ".TGA") {
        decoded = LoadTgaFile(fileName);
        texture.buildMipmaps = false;
        texture.internalFormat = TextureFormat::kRGBA;
    } else if (extension == ".JPG" || extension == ".BMP") {
        decoded = extension == ".JPG" ? LoadJpegFile(fileName) : LoadBmpFile(fileName);
        texture.buildMipmaps = true;
        texture.internalFormat = TextureFormat::kRGB;
    } else {
        return {std::nullopt, "\"" + extension + "\" is not a texture image kind"};
    }
    if (!decoded) return {std::nullopt, std::move(decoded.error)};
    texture.image = std::move(*decoded.image);
    return {std::move(texture), {}};
}
