// Truevision TGA images: uncompressed and run-length encoded, 24 and 32 bits a pixel.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/image.h"

inline constexpr int kTgaHeaderSize = 18;

// Decodes a whole TGA file held in memory. Rows keep the file's order (the descriptor's
// origin bit is not examined); blue, green, red (, alpha) become RGBA, 24-bit pixels get
// alpha 255 and only 32-bit images have alpha. Other pixel depths are refused.
ImageResult DecodeTga(std::span<const std::uint8_t> data);

// Throws FileError when the file cannot be opened.
ImageResult LoadTgaFile(const std::string& fileName);
