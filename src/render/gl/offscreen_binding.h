// A GL context without a window: it draws into a framebuffer object of a fixed size, for the
// tests and for command-line rendering. Needs a QGuiApplication (see EnsureGuiApplication).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/gl/gl_binding.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// Creates a QGuiApplication when the process has none. Without a display (no DISPLAY or
// WAYLAND_DISPLAY and no QT_QPA_PLATFORM chosen) it picks the "offscreen" platform instead
// of letting the toolkit abort. The application is kept until the process ends. Returns
// whether a QGuiApplication exists afterwards.
bool EnsureGuiApplication();

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

class TOffscreenGLBinding final : public IGLBinding {
  public:
    TOffscreenGLBinding(int width, int height);
    ~TOffscreenGLBinding() override;
    TOffscreenGLBinding(const TOffscreenGLBinding&) = delete;
    TOffscreenGLBinding& operator=(const TOffscreenGLBinding&) = delete;

    // Changes the framebuffer size (remaking it when a context exists); the render context
    // must then be told with TOGL::Resize. False when the framebuffer cannot be made.
    bool SetSize(int width, int height);

    // Reads the whole framebuffer; the context must be current.
    TPixelImage ReadPixels() const;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool HasSurface() const override;
    TGLCreateResult CreateContext() override;
    bool HasContext() const override;
    void DestroyContext() override;
    bool MakeCurrent() override;
    void DoneCurrent() override;
    void SwapBuffers() override;
    bool DrawsToWindowBuffers() const override { return false; }
    std::string ExtensionString() const override;
    TGLProc ProcAddress(const char* name) const override;
    // Nothing is shown, so there is no retrace to wait for.
    bool HasSwapControl() const override { return false; }
    int SwapInterval() const override { return 0; }
    void SetSwapInterval(int) override {}

  private:
    bool MakeFramebuffer();

    int width_;
    int height_;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};
