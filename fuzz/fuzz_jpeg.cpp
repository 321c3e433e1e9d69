// Feeds arbitrary bytes to the JPEG decoder (libjpeg behind its error handling) and checks the
// shape of whatever it accepts.
#include <cstdint>
#include <span>
#include <string>

#include "image_checks.h"
#include "image/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ImageResult result = DecodeJpeg(bytes);
    CheckDecoderResult(result);
    if (!result) return 0;
    const Image& image = *result.image;
    if (image.hasAlpha) __builtin_trap();  // JPEG has no alpha
    // The header alone must tell the size of every image that decodes.
    JpegSize header;
    std::string error;
    if (!ReadJpegSize(bytes, header, error) || header.width != image.width ||
        header.height != image.height) {
        __builtin_trap();
    }
    return 0;
}
