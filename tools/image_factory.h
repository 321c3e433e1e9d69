// Image files built in code, for tests and fuzz seeds. Pictures are given top row first,
// as RGBA pixels, whatever order the file format stores them in.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

// The 18-byte TGA header with the fields the decoder reads.
std::vector<std::uint8_t> TgaHeader(int width, int height, int bitsPerPixel, int imageType,
                                    int idLength = 0);

// A TGA file of the picture, 24 or 32 bits, uncompressed (type 2) or run-length encoded
// (type 10), stored top row first.
std::vector<std::uint8_t> EncodeTga(const Image& picture, int bitsPerPixel, bool runLength);

// A BMP file of the picture with 8 (palette of the picture's distinct colours, at most
// 256), 24 or 32 bits a pixel, stored bottom-up or top-down (negative height).
std::vector<std::uint8_t> EncodeBmp(const Image& picture, int bitsPerPixel, bool topDown);

// A JFIF file of the picture (alpha dropped), baseline or progressive.
std::vector<std::uint8_t> EncodeJpeg(const Image& picture, bool progressive, int quality = 95);

// Smooth colour ramps (which JPEG keeps close) and a varying alpha.
Image GradientPicture(int width, int height);
