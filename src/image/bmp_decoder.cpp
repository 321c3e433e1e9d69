#include "image/bmp_decoder.h"

#include <array>
#include <bit>

#include "io/file_bytes.h"
#include "io/little_endian.h"
#include "image/bitmap_rows.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitFields = 3;

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint64_t rowBytes = 0;
    std::uint64_t pixelOffset = 0;
    std::array<std::uint8_t, 256 * 3> palette{};  // red, green, blue; unset entries black
    std::array<std::uint32_t, 3> masks{};         // red, green, blue for bit-field pixels
    bool bitFields = false;
};

// One channel out of a bit-field pixel, scaled to 0..255 whatever the mask's width.
std::uint8_t MaskedChannel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t maximum = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(value * 255 / maximum);
}

std::string ReadPalette(std::span<const std::uint8_t> data, std::uint64_t at,
                        std::uint64_t entrySize, std::uint64_t colorsUsed, BmpLayout& layout) {
    const std::uint64_t maxColors = std::uint64_t{1} << layout.bitCount;
    const std::uint64_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    if (at > data.size() || (data.size() - at) / entrySize < count) {
        return "the colour table runs past the end of the file";
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = data.data() + at + i * entrySize;
        layout.palette[i * 3] = entry[2];
        layout.palette[i * 3 + 1] = entry[1];
        layout.palette[i * 3 + 2] = entry[0];
    }
    return {};
}

std::string ReadLayout(std::span<const std::uint8_t> data, BmpLayout& layout) {
    if (data.size() < kFileHeaderSize + 4) return "the file is shorter than a BMP header";
    const std::uint8_t* d = data.data();
    if (d[0] != 'B' || d[1] != 'M') return "not a BMP file (no BM signature)";
    layout.pixelOffset = LoadU32LE(d + 10);
    const std::uint32_t headerSize = LoadU32LE(d + kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) {
        return "unknown bitmap header size " + std::to_string(headerSize);
    }
    if (data.size() - kFileHeaderSize < headerSize) return "the bitmap header is truncated";
    const std::uint8_t* h = d + kFileHeaderSize;

    std::uint32_t compression = kCompressionNone;
    std::uint64_t colorsUsed = 0;
    std::uint64_t paletteEntrySize = 4;
    if (headerSize == kCoreHeaderSize) {
        layout.width = LoadU16LE(h + 4);
        layout.height = LoadU16LE(h + 6);
        layout.bitCount = LoadU16LE(h + 10);
        paletteEntrySize = 3;
    } else {
        layout.width = LoadI32LE(h + 4);
        layout.height = LoadI32LE(h + 8);
        layout.bitCount = LoadU16LE(h + 14);
        compression = LoadU32LE(h + 16);
        colorsUsed = LoadU32LE(h + 32);
    }
    if (layout.height < 0) {
        layout.topDown = true;
        layout.height = -layout.height;
    }
    if (std::string problem = ImageSizeProblem(layout.width, layout.height); !problem.empty()) {
        return problem;
    }
    const int bits = layout.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        return "bitmaps of " + std::to_string(bits) + " bits a pixel are not supported";
    }
    if (compression == kCompressionBitFields && bits == 32) {
        layout.bitFields = true;
        // A plain info header keeps its three masks just after it; later headers hold them.
        const std::uint64_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        if (data.size() < masksAt + 12) return "the colour masks are truncated";
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = LoadU32LE(d + masksAt + 4 * i);
    } else if (compression != kCompressionNone) {
        return "compressed bitmaps (method " + std::to_string(compression) + ") are not supported";
    }
    if (bits <= 8) {
        std::uint64_t paletteAt = kFileHeaderSize + headerSize;
        if (std::string problem =
                ReadPalette(data, paletteAt, paletteEntrySize, colorsUsed, layout);
            !problem.empty()) {
            return problem;
        }
    }
    layout.rowBytes = (std::uint64_t(layout.width) * bits + 31) / 32 * 4;
    const std::uint64_t pixelBytes = layout.rowBytes * std::uint64_t(layout.height);
    if (layout.pixelOffset > data.size() || data.size() - layout.pixelOffset < pixelBytes) {
        return "the pixel data is truncated";
    }
    return {};
}

void DecodeRow(const BmpLayout& layout, const std::uint8_t* row, std::uint8_t* out) {
    const std::int64_t width = layout.width;
    switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = layout.bitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (std::int64_t x = 0; x < width; ++x) {
                const unsigned shift = 8 - bits * (1 + x % perByte);
                const unsigned index = (row[x / perByte] >> shift) & mask;
                const std::uint8_t* color = &layout.palette[index * 3];
                StoreOpaque(out + 4 * x, color[0], color[1], color[2]);
            }
            break;
        }
        case 24:
            for (std::int64_t x = 0; x < width; ++x) {
                const std::uint8_t* p = row + 3 * x;
                StoreOpaque(out + 4 * x, p[2], p[1], p[0]);
            }
            break;
        case 32:
            for (std::int64_t x = 0; x < width; ++x) {
                const std::uint8_t* p = row + 4 * x;
                if (layout.bitFields) {
                    const std::uint32_t pixel = LoadU32LE(p);
                    StoreOpaque(out + 4 * x, MaskedChannel(pixel, layout.masks[0]),
                                MaskedChannel(pixel, layout.masks[1]),
                                MaskedChannel(pixel, layout.masks[2]));
                } else {
                    StoreOpaque(out + 4 * x, p[2], p[1], p[0]);
                }
            }
            break;
        default:
            break;
    }
}

}  // namespace

ImageResult DecodeBmp(std::span<const std::uint8_t> data) {
    BmpLayout layout;
    if (std::string problem = ReadLayout(data, layout); !problem.empty()) {
        return ImageResult::Fail(problem);
    }
    Image image;
    image.width = static_cast<int>(layout.width);
    image.height = static_cast<int>(layout.height);
    const auto stride = static_cast<std::size_t>(layout.width) * 4;
    image.pixels.resize(stride * static_cast<std::size_t>(layout.height));
    for (std::int64_t stored = 0; stored < layout.height; ++stored) {
        // Files are bottom-up unless the height was negative.
        const std::int64_t topDownRow = layout.topDown ? stored : layout.height - 1 - stored;
        const std::uint8_t* row = data.data() + layout.pixelOffset + stored * layout.rowBytes;
        DecodeRow(layout, row, image.pixels.data() + BitmapOutputRow(image, topDownRow) * stride);
    }
    return {std::move(image), {}};
}

ImageResult LoadBmpFile(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxImageFileBytes, bytes, error)) return ImageResult::Fail(error);
    return DecodeBmp(bytes);
}
