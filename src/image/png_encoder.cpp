#include "image/png_encoder.h"

#include <zlib.h>

#include <string_view>

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift : {24, 16, 8, 0})
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, std::string_view type,
           const std::vector<std::uint8_t>& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), out.data() + start, static_cast<uInt>(out.size() - start));
    Put32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image, bool bottomRowFirst) {
    if (image.width <= 0 || image.height <= 0) return {};
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    if (image.pixels.size() < width * height * 4) return {};
    const std::size_t channels = image.hasAlpha ? 4 : 3;
    // Each row starts with its filter byte (0: none).
    std::vector<std::uint8_t> raw;
    raw.reserve((width * channels + 1) * height);
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t stored = bottomRowFirst ? height - 1 - row : row;
        const std::uint8_t* pixel = image.pixels.data() + stored * width * 4;
        raw.push_back(0);
        for (std::size_t x = 0; x < width; ++x, pixel += 4)
            raw.insert(raw.end(), pixel, pixel + channels);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    // 8 bits a channel; colour type 6 (RGBA) or 2 (RGB); deflate; adaptive filters; no
    // interlace.
    for (std::uint8_t b : {std::uint8_t{8}, std::uint8_t(image.hasAlpha ? 6 : 2), std::uint8_t{0},
                           std::uint8_t{0}, std::uint8_t{0}})
        header.push_back(b);
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}
