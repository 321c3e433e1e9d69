// A framebuffer object to draw into when the context has no window: an RGBA8 colour
// renderbuffer and a combined depth 24 / stencil 8 one. OpenGL 1.1 has no framebuffer objects,
// so the entry points come from the driver at run time.
#pragma once

#include "render/gl/gl_binding.h"

class TGLFramebuffer {
  public:
    using TLookup = TGLProc (*)(const char* name);

    // Picks the entry points for the current context: the core names where it has OpenGL 3.0 or
    // GL_ARB_framebuffer_object, the EXT names where it has GL_EXT_framebuffer_object and
    // GL_EXT_packed_depth_stencil. False when it has neither set.
    bool LoadEntryPoints(TLookup lookup);

    // Replaces the buffers with new ones of width x height (both at least 1) and leaves them
    // bound. False, with nothing bound and no GL error left behind, when the driver cannot
    // make them complete. The context must be current.
    bool Create(int width, int height);

    // Selects the framebuffer for drawing and reading; the context must be current.
    void Bind() const;

    // Frees the GL objects; the context must be current.
    void Destroy();
    // Drops the names without touching GL, for when the context cannot be made current.
    void Forget();

    bool IsComplete() const { return framebuffer_ != 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    struct TEntryPoints {
        void (*genFramebuffers)(int, unsigned int*) = nullptr;
        void (*deleteFramebuffers)(int, const unsigned int*) = nullptr;
        void (*bindFramebuffer)(unsigned int, unsigned int) = nullptr;
        void (*framebufferRenderbuffer)(unsigned int, unsigned int, unsigned int,
                                        unsigned int) = nullptr;
        unsigned int (*checkFramebufferStatus)(unsigned int) = nullptr;
        void (*genRenderbuffers)(int, unsigned int*) = nullptr;
        void (*deleteRenderbuffers)(int, const unsigned int*) = nullptr;
        void (*bindRenderbuffer)(unsigned int, unsigned int) = nullptr;
        void (*renderbufferStorage)(unsigned int, unsigned int, int, int) = nullptr;

        bool Complete() const;
    };

    TEntryPoints gl_;
    unsigned int framebuffer_ = 0;
    unsigned int colour_ = 0;
    unsigned int depthStencil_ = 0;
    int width_ = 0;
    int height_ = 0;
};
