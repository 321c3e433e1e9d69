// What the render context needs of the window system: a drawing surface with a GL context
// on it. The GUI binds it to its view widget; tests and the command line bind it to an
// offscreen framebuffer.
#pragma once

#include <string>

// Why a context could not be created; the values are the render context's error codes.
enum class TGLCreateResult {
    kOk = 0,
    kNoPixelFormat = -2,  // the surface cannot have the colour, depth and stencil buffers
    kPixelFormatNotSet = -3,
    kNoContext = -4,
};

using TGLProc = void (*)();

class IGLBinding {
  public:
    virtual ~IGLBinding() = default;

    // Size of the drawing panel in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Whether there is a surface to draw on at all.
    virtual bool HasSurface() const = 0;

    // Creates the context: double-buffered (or framebuffer-backed) RGBA, depth 24, stencil 8,
    // compatibility profile so that the fixed-function calls work.
    virtual TGLCreateResult CreateContext() = 0;
    virtual bool HasContext() const = 0;
    virtual void DestroyContext() = 0;

    // Makes the context current and selects the surface's framebuffer for drawing.
    virtual bool MakeCurrent() = 0;
    virtual void DoneCurrent() = 0;

    virtual void SwapBuffers() = 0;

    // True when drawing goes to a window's front and back buffers; false when it goes to a
    // framebuffer object, where glDrawBuffer(GL_BACK) would be an error.
    virtual bool DrawsToWindowBuffers() const = 0;

    // The GL extension string of the current context (empty without one).
    virtual std::string ExtensionString() const = 0;

    // An entry point by name, or null; needs the context to be current.
    virtual TGLProc ProcAddress(const char* name) const = 0;

    // Swap interval control, when the window system offers it: 1 waits for the vertical
    // retrace, 0 does not.
    virtual bool HasSwapControl() const = 0;
    virtual int SwapInterval() const = 0;
    virtual void SetSwapInterval(int interval) = 0;
};
