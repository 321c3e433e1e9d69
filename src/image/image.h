// The decoded form of every texture image: RGBA pixels, four bytes each, row after row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    // True only when the pixels carry a real alpha channel (32-bit TGA).
    bool hasAlpha = false;
    std::vector<std::uint8_t> pixels;  // width x height x 4: red, green, blue, alpha
};

// A decoder's answer: the image, or why there is none.
struct ImageResult {
    std::optional<Image> image;
    std::string error;

    explicit operator bool() const { return image.has_value(); }
    static ImageResult Fail(std::string reason) { return {std::nullopt, std::move(reason)}; }
};

// Far beyond any texture the game uses, and small enough that the RGBA buffer (1 GiB at
// most) can be allocated; a header asking for more is hostile or broken.
inline constexpr std::int64_t kMaxImageSide = 16384;
// No image file is allowed to be larger than its biggest possible uncompressed form.
inline constexpr std::int64_t kMaxImageFileBytes = kMaxImageSide * kMaxImageSide * 4 + 65536;

// Why an image of this size cannot be decoded, or an empty text when it can.
std::string ImageSizeProblem(std::int64_t width, std::int64_t height);
