#include "image/image_gamma.h"

#include <algorithm>
#include <cmath>

namespace {

// Truncation toward zero; values that are not finite (an absurd factor) saturate instead of
// reaching an undefined conversion.
std::uint8_t Truncate(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<std::uint8_t>(value);
}

}  // namespace

void ApplyGamma(std::span<std::uint8_t> rgba, float gamma) {
    for (std::size_t i = 0; i + 4 <= rgba.size(); i += 4) {
        float red = static_cast<float>(rgba[i]) * gamma;
        float green = static_cast<float>(rgba[i + 1]) * gamma;
        float blue = static_cast<float>(rgba[i + 2]) * gamma;
        const float brightest = std::max({red, green, blue});
        if (brightest > 255.0f) {
            const float scale = brightest / 255.0f;
            red = red / scale;
            green = green / scale;
            blue = blue / scale;
        }
        rgba[i] = Truncate(red);
        rgba[i + 1] = Truncate(green);
        rgba[i + 2] = Truncate(blue);
    }
}

void SoftwareGamma::SetGamma(float value) {
    gamma_ = std::fabs(value);
}

void SoftwareGamma::Apply(Image& image) const {
    if (gamma_ != 1.0f) ApplyGamma(image.pixels, gamma_);
}
