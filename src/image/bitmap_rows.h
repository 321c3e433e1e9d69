// The row order shared by the JPEG and BMP paths: the output's first row is the image's
// bottom row, as the texture upload expects for those kinds.
#pragma once

#include <cstdint>

#include "image/image.h"

// Index of the output row that shows the picture's row `topDownRow` (0 = top).
inline std::int64_t BitmapOutputRow(const Image& image, std::int64_t topDownRow) {
    return image.height - 1 - topDownRow;
}

// Writes an opaque pixel; the has-alpha flag stays false for these kinds.
inline void StoreOpaque(std::uint8_t* target, std::uint8_t red, std::uint8_t green,
                        std::uint8_t blue) {
    target[0] = red;
    target[1] = green;
    target[2] = blue;
    target[3] = 255;
}
