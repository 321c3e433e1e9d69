// Feeds arbitrary bytes to the BMP decoder and checks the shape of whatever it accepts.
#include <cstdint>
#include <span>

#include "image_checks.h"
#include "image/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ImageResult result = DecodeBmp(std::span<const std::uint8_t>(data, size));
    CheckDecoderResult(result);
    if (result && result.image->hasAlpha) __builtin_trap();  // BMP pixels are opaque
    return 0;
}
