// What every offscreen binding offers beyond IGLBinding: a framebuffer whose size can change
// and whose pixels can be read back. The tests and the command line draw through it without
// caring which window system made the context.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/gl/gl_binding.h"

// Pixels read back from a framebuffer: RGBA, 4 bytes per pixel, rows top-down (row 0 is the
// top of the picture), no padding.
struct TPixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    // (x, y) with y counted from the top; the caller keeps them inside the image.
    std::array<std::uint8_t, 4> Pixel(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(x)) *
                              4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

class IOffscreenBinding : public IGLBinding {
  public:
    // Changes the framebuffer size (remaking it when a context exists); the render context
    // must then be told with TOGL::Resize. False when the framebuffer cannot be made.
    virtual bool SetSize(int width, int height) = 0;

    // Reads the whole framebuffer; the context must be current. Empty otherwise.
    virtual TPixelImage ReadPixels() const = 0;

    // Offscreen drawing is never shown, so there is no retrace to wait for.
    bool DrawsToWindowBuffers() const override { return false; }
    bool HasSwapControl() const override { return false; }
    int SwapInterval() const override { return 0; }
    void SetSwapInterval(int) override {}
};

// Reads width x height pixels from the bottom-left of the framebuffer bound for reading and
// turns them top-down.
TPixelImage ReadFramebufferPixels(int width, int height);
