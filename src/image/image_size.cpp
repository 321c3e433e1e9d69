#include "image/image_size.h"

#include <cstdint>
#include <vector>

#include "io/binary_file.h"
#include "io/file_bytes.h"
#include "io/file_error.h"
#include "io/little_endian.h"
#include "image/bmp_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/tga_decoder.h"

namespace {

std::optional<ImageSize> ReadSize(const std::string& fileName, const std::string& extension) {
    ImageSize size{extension, 0, 0};
    if (extension == ".TGA") {
        const BinaryFile file(fileName);
        std::uint8_t header[kTgaHeaderSize];
        if (!file.ReadAt(0, header, sizeof header)) return std::nullopt;
        size.width = LoadU16LE(header + 12);
        size.height = LoadU16LE(header + 14);
        return size;
    }
    if (extension == ".JPG") {
        std::vector<std::uint8_t> bytes;
        std::string error;
        JpegSize jpeg;
        if (!ReadFileBytes(fileName, kMaxImageFileBytes, bytes, error) ||
            !ReadJpegSize(bytes, jpeg, error)) {
            return std::nullopt;
        }
        size.width = jpeg.width;
        size.height = jpeg.height;
        return size;
    }
    if (extension == ".BMP") {
        const ImageResult decoded = LoadBmpFile(fileName);
        if (!decoded) return std::nullopt;
        size.width = decoded.image->width;
        size.height = decoded.image->height;
        return size;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImageSize> ReadImageFileSize(const std::string& fileName) {
    try {
        return ReadSize(fileName, UpperCaseExtension(fileName));
    } catch (const FileError&) {
        return std::nullopt;
    }
}

std::optional<ImageSize> ReadImageSize(const TexturePaths& paths, const std::string& path) {
    std::string resolved = path;
    if (!paths.ResolvePath(resolved)) return std::nullopt;
    return ReadImageFileSize(resolved);
}
