#include "render/transparent_picture.h"

#include <algorithm>

void SeparateFromBackground(const std::vector<std::uint8_t>& overBlack,
                            const std::vector<std::uint8_t>& overWhite, TRGBBytes background,
                            std::vector<std::uint8_t>& rgb, std::vector<std::uint8_t>& alpha) {
    const std::size_t pixels = std::min(overBlack.size(), overWhite.size()) / 3;
    rgb.resize(pixels * 3);
    alpha.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* black = &overBlack[i * 3];
        const std::uint8_t* white = &overWhite[i * 3];
        // The channel that lets the least background through decides the opacity: a tinted
        // filter is as opaque as its darkest channel.
        int shown = 255;
        for (int c = 0; c < 3; ++c)
            shown = std::min(shown, std::max(0, white[c] - black[c]));
        const int opacity = 255 - shown;
        alpha[i] = static_cast<std::uint8_t>(opacity);
        std::uint8_t* out = &rgb[i * 3];
        if (opacity == 0) {
            out[0] = background.r, out[1] = background.g, out[2] = background.b;
            continue;
        }
        // Over black the picture holds colour times opacity; undo that, rounding.
        for (int c = 0; c < 3; ++c)
            out[c] =
                static_cast<std::uint8_t>(std::min(255, (black[c] * 255 + opacity / 2) / opacity));
    }
}
