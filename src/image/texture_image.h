// A texture file decoded and ready for upload: the pixels and how the upload treats them,
// chosen by the file's extension.
#pragma once

#include <optional>
#include <string>

#include "image/image.h"

enum class TextureFormat {
    kRGB,   // internal format with three components: JPEG and BMP
    kRGBA,  // internal format with four components: TGA
};

struct TextureImage {
    Image image;  // always RGBA data, whatever the internal format
    // JPEG and BMP get a mipmap chain (scaled to power-of-two sizes); TGA is loaded as a
    // single level at its own size.
    bool buildMipmaps = false;
    TextureFormat internalFormat = TextureFormat::kRGBA;
};

struct TextureImageResult {
    std::optional<TextureImage> texture;
    std::string error;

    explicit operator bool() const { return texture.has_value(); }
};

// Decodes a resolved texture path by its upper-cased extension: ".TGA", ".JPG" or ".BMP".
// Any other extension (".RAW" among them) or a bad file gives no texture and a reason.
// Throws FileError when the file cannot be opened.
TextureImageResult DecodeImageFile(const std::string& fileName);
