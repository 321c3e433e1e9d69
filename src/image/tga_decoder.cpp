// Every size in the header is checked against the bytes that are really there before the
// pixel buffer is allocated, so a short file with a huge header costs nothing.
#include "image/tga_decoder.h"

#include <cstring>

#include "io/file_bytes.h"
#include "io/little_endian.h"

namespace {

// The largest run or raw packet covers this many pixels.
constexpr std::uint64_t kMaxPacketPixels = 128;

void StorePixel(const std::uint8_t* source, int bytesPerPixel, std::uint8_t* target) {
    target[0] = source[2];
    target[1] = source[1];
    target[2] = source[0];
    target[3] = bytesPerPixel == 4 ? source[3] : 255;
}

bool DecodeRunLength(const std::uint8_t* data, std::size_t size, int bytesPerPixel,
                     std::uint64_t pixelCount, std::uint8_t* out) {
    std::size_t at = 0;
    std::uint64_t done = 0;
    const auto bpp = static_cast<std::size_t>(bytesPerPixel);
    while (done < pixelCount) {
        if (at >= size) return false;
        const std::uint8_t packet = data[at++];
        std::uint64_t count = (packet & 0x7Fu) + 1u;
        // Packets that run past the last pixel are cut at the end of the image.
        if (count > pixelCount - done) count = pixelCount - done;
        if (packet < 0x80) {
            if (size - at < count * bpp) return false;
            for (std::uint64_t i = 0; i < count; ++i, at += bpp) {
                StorePixel(data + at, bytesPerPixel, out + 4 * done++);
            }
        } else {
            if (size - at < bpp) return false;
            std::uint8_t pixel[4];
            StorePixel(data + at, bytesPerPixel, pixel);
            at += bpp;
            for (std::uint64_t i = 0; i < count; ++i)
                std::memcpy(out + 4 * done++, pixel, 4);
        }
    }
    return true;
}

}  // namespace

ImageResult DecodeTga(std::span<const std::uint8_t> data) {
    if (data.size() < kTgaHeaderSize) {
        return ImageResult::Fail("the file is shorter than a TGA header (18 bytes)");
    }
    const std::uint8_t* header = data.data();
    const unsigned idLength = header[0];
    const unsigned colorMapType = header[1];
    const unsigned imageType = header[2];
    const std::uint64_t colorMapLength = LoadU16LE(header + 5);
    const std::uint64_t colorMapEntryBits = header[7];
    const int width = LoadU16LE(header + 12);
    const int height = LoadU16LE(header + 14);
    const int pixelDepth = header[16];
    const int bytesPerPixel = pixelDepth / 8;

    if (bytesPerPixel != 3 && bytesPerPixel != 4) {
        return ImageResult::Fail("TGA images of " + std::to_string(pixelDepth) +
                                 " bits a pixel are not supported (only 24 and 32)");
    }
    if (std::string problem = ImageSizeProblem(width, height); !problem.empty()) {
        return ImageResult::Fail(problem);
    }

    std::uint64_t offset = kTgaHeaderSize + idLength;
    if (colorMapType == 1) offset += colorMapLength * colorMapEntryBits / 8;
    if (offset > data.size()) {
        return ImageResult::Fail("the identification field or colour map runs past the end");
    }
    const std::uint8_t* pixelData = data.data() + offset;
    const std::uint64_t available = data.size() - offset;
    const std::uint64_t pixelCount = std::uint64_t(width) * std::uint64_t(height);
    const bool runLength = imageType >= 9;

    const std::uint64_t leastBytes =
        runLength ? (pixelCount + kMaxPacketPixels - 1) / kMaxPacketPixels * (1 + bytesPerPixel)
                  : pixelCount * bytesPerPixel;
    if (available < leastBytes) return ImageResult::Fail("the pixel data is truncated");

    Image image;
    image.width = width;
    image.height = height;
    image.hasAlpha = bytesPerPixel == 4;
    image.pixels.resize(pixelCount * 4);
    if (runLength) {
        if (!DecodeRunLength(pixelData, available, bytesPerPixel, pixelCount,
                             image.pixels.data())) {
            return ImageResult::Fail("the run-length data is truncated");
        }
    } else {
        for (std::uint64_t i = 0; i < pixelCount; ++i) {
            StorePixel(pixelData + i * bytesPerPixel, bytesPerPixel, image.pixels.data() + 4 * i);
        }
    }
    return {std::move(image), {}};
}

ImageResult LoadTgaFile(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxImageFileBytes, bytes, error)) return ImageResult::Fail(error);
    return DecodeTga(bytes);
}
