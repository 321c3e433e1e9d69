// PNG files from decoded pictures, for exports that embed the game's TGA and BMP textures in
// formats other programs read (glTF takes PNG and JPEG only).
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

// An RGBA PNG (RGB when the picture has no alpha), written top row first. `bottomRowFirst`
// says the pixels start with the picture's bottom row, as the decoders give most kinds.
// Empty for an empty picture.
std::vector<std::uint8_t> EncodePng(const Image& image, bool bottomRowFirst);
