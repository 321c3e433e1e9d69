// What every image decoder promises about what it accepts; a broken promise stops the fuzzer.
#pragma once

#include <cstddef>

#include "image/image.h"

// A failure has a reason; an accepted image has positive sizes and exactly its pixels; an
// image without alpha is opaque.
inline void CheckDecoderResult(const ImageResult& result) {
    if (!result) {
        if (result.error.empty()) __builtin_trap();
        return;
    }
    const Image& image = *result.image;
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        __builtin_trap();
    }
    if (image.hasAlpha) return;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        if (image.pixels[i] != 255) __builtin_trap();
    }
}
