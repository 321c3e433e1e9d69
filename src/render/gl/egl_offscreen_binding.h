// A GL context made through EGL with no window system at all: no X server, no Wayland
// compositor, no toolkit platform. It draws into a framebuffer object, so the command line and
// the tests render on machines without a display.
#pragma once

#include "render/gl/gl_framebuffer.h"
#include "render/gl/offscreen_gl.h"

class TEglOffscreenBinding final : public IOffscreenBinding {
  public:
    // Opens the first EGL display that offers desktop OpenGL: Mesa's surfaceless platform, then
    // each enumerated device, then the default display. HasSurface tells whether one did.
    TEglOffscreenBinding(int width, int height);
    ~TEglOffscreenBinding() override;
    TEglOffscreenBinding(const TEglOffscreenBinding&) = delete;
    TEglOffscreenBinding& operator=(const TEglOffscreenBinding&) = delete;

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
    bool OpenDisplay(void* display);
    bool MakeContextCurrent();
    bool IsCurrent() const;

    int width_;
    int height_;
    // EGL handles, kept opaque so that users of this header need no EGL headers.
    void* display_ = nullptr;
    void* config_ = nullptr;
    bool surfaceless_ = false;  // the context can be current without any EGL surface
    void* context_ = nullptr;
    void* pbuffer_ = nullptr;  // a one-pixel surface, only where surfaceless is not offered
    TGLFramebuffer framebuffer_;
};
