#include "image/image.h"

std::string ImageSizeProblem(std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    // An image without pixels would make a texture that can never be drawn.
    if (width <= 0 || height <= 0) return "the image size " + size + " has no pixels";
    if (width > kMaxImageSide || height > kMaxImageSide) {
        return "the image size " + size + " exceeds the limit of " + std::to_string(kMaxImageSide) +
               " pixels a side";
    }
    return {};
}
