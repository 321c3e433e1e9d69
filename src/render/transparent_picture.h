// A picture of the model that any background can go behind. The view is drawn twice, over
// black and over white: where both agree the model covers the pixel, where they differ by the
// full range nothing does, and in between the difference is how much of the background shows
// through (a blended leaf, an alpha-tested hole, an additive glow). This holds for every blend
// a shader stage can name, which a coverage mask drawn on its own cannot follow.
#pragma once

#include <cstdint>
#include <vector>

struct TRGBBytes {
    std::uint8_t r = 0, g = 0, b = 0;
};

// From two RGB pictures of one view (3 bytes per pixel, same size) fills `rgb` with the
// model's own colour (not darkened by its transparency; `background` where nothing covers the
// pixel) and `alpha` with its opacity. A glow, which only adds light, becomes as opaque as it
// is bright, so that it still shows over any background.
void SeparateFromBackground(const std::vector<std::uint8_t>& overBlack,
                            const std::vector<std::uint8_t>& overWhite, TRGBBytes background,
                            std::vector<std::uint8_t>& rgb, std::vector<std::uint8_t>& alpha);
