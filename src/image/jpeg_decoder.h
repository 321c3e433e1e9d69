// JPEG images through libjpeg: baseline and progressive, any colour space libjpeg can turn
// into RGB.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/image.h"

// Decodes a whole JPEG file held in memory. The output's first row is the image's bottom
// row; every pixel is opaque and the image never has alpha. Corrupt or truncated data is a
// failure, never a partly grey image.
ImageResult DecodeJpeg(std::span<const std::uint8_t> data);

// Throws FileError when the file cannot be opened.
ImageResult LoadJpegFile(const std::string& fileName);

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The size from the frame header, without decoding the pixels; false with the reason in
// `error` when the header cannot be read.
bool ReadJpegSize(std::span<const std::uint8_t> data, JpegSize& size, std::string& error);
