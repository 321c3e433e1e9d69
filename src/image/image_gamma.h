// Software gamma: brightens decoded pixels before upload, for drivers and screens where the
// game's textures look too dark.
#pragma once

#include <cstdint>
#include <span>

#include "image/image.h"

// Multiplies red, green and blue of every four-byte pixel by `gamma` in single precision.
// When the brightest product passes 255 all three are scaled by 255 over it, so the hue is
// kept; each result is truncated. Alpha is left alone.
void ApplyGamma(std::span<std::uint8_t> rgba, float gamma);

// The brightening factor of a texture store: 1.0 (no change) until set.
class SoftwareGamma {
  public:
    // Negative factors are taken by their absolute value.
    void SetGamma(float value);
    float Gamma() const { return gamma_; }
    // Brightens the image unless the factor is 1.0.
    void Apply(Image& image) const;

  private:
    float gamma_ = 1.0f;
};
