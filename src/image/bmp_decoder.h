// Windows bitmaps: 1, 4 and 8-bit palettised, 24-bit and 32-bit (plain or with bit masks),
// stored bottom-up or top-down, rows padded to four bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/image.h"

// Decodes a whole BMP file held in memory. The output's first row is the image's bottom row;
// every pixel is opaque and the image never has alpha (32-bit files' fourth byte is ignored).
// Compressed bitmaps (RLE, embedded JPEG/PNG) and 16-bit pixels are refused.
ImageResult DecodeBmp(std::span<const std::uint8_t> data);

// Throws FileError when the file cannot be opened.
ImageResult LoadBmpFile(const std::string& fileName);
