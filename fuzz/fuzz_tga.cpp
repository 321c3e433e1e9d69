// Feeds arbitrary bytes to the TGA decoder and checks the shape of whatever it accepts.
#include <cstdint>
#include <span>

#include "render/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ImageResult result = DecodeTga(bytes);
    if (!result) {
        if (result.error.empty()) __builtin_trap();
        return 0;
    }
    const Image& image = *result.image;
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        __builtin_trap();
    }
    // Only 32-bit pixels carry alpha; the others are opaque.
    if (!image.hasAlpha) {
        for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
            if (image.pixels[i] != 255) __builtin_trap();
        }
    }
    return 0;
}
