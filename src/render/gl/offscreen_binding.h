// A GL context without a window, made by the toolkit: it draws into a framebuffer object of a
// fixed size. Needs a QGuiApplication (see EnsureGuiApplication) and, for a context, a display;
// the EGL binding is the one that works without any.
#pragma once

#include <memory>

#include "render/gl/offscreen_gl.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// Creates a QGuiApplication when the process has none. Without a display (no DISPLAY or
// WAYLAND_DISPLAY and no QT_QPA_PLATFORM chosen) it picks the "offscreen" platform instead
// of letting the toolkit abort. The application is kept until the process ends. Returns
// whether a QGuiApplication exists afterwards.
bool EnsureGuiApplication();

class TOffscreenGLBinding final : public IOffscreenBinding {
  public:
    TOffscreenGLBinding(int width, int height);
    ~TOffscreenGLBinding() override;
    TOffscreenGLBinding(const TOffscreenGLBinding&) = delete;
    TOffscreenGLBinding& operator=(const TOffscreenGLBinding&) = delete;

    bool SetSize(int width, int height) override;
    TPixelImage ReadPixels() const override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool HasSurface() const override;
    TGLCreateResult CreateContext() override;
    bool HasContext() const override;
    void DestroyContext() override;
    bool MakeCurrent() override;
    void DoneCurrent() override;
    void SwapBuffers() override;
    std::string ExtensionString() const override;
    TGLProc ProcAddress(const char* name) const override;

  private:
    bool MakeFramebuffer();

    int width_;
    int height_;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};
