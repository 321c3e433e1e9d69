// Feeds arbitrary bytes to the TGA decoder and checks the shape of whatever it accepts.
#include <cstdint>
#include <span>

#include "image_checks.h"
#include "image/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecoderResult(DecodeTga(std::span<const std::uint8_t>(data, size)));
    return 0;
}
