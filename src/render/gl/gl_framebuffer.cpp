#include "render/gl/gl_framebuffer.h"

#include <GL/gl.h>

#include <string>
#include <type_traits>

#include "render/gl/gl_context_info.h"

namespace {

// Spelled out so that no particular glext.h is needed; the EXT values are the same numbers.
constexpr GLenum kFramebuffer = 0x8D40;
constexpr GLenum kRenderbuffer = 0x8D41;
constexpr GLenum kColorAttachment0 = 0x8CE0;
constexpr GLenum kDepthAttachment = 0x8D00;
constexpr GLenum kStencilAttachment = 0x8D20;
constexpr GLenum kFramebufferComplete = 0x8CD5;
constexpr GLenum kDepth24Stencil8 = 0x88F0;
constexpr GLenum kMaxRenderbufferSize = 0x84E8;

}  // namespace

bool TGLFramebuffer::TEntryPoints::Complete() const {
    return genFramebuffers && deleteFramebuffers && bindFramebuffer && framebufferRenderbuffer &&
           checkFramebufferStatus && genRenderbuffers && deleteRenderbuffers && bindRenderbuffer &&
           renderbufferStorage;
}

bool TGLFramebuffer::LoadEntryPoints(TLookup lookup) {
    gl_ = {};
    // Drivers may hand out an address for any name, so what the context supports decides which
    // spelling to ask for.
    const char* suffix = nullptr;
    if (CurrentGLVersion().AtLeast(3, 0) || CurrentGLHasExtension("GL_ARB_framebuffer_object"))
        suffix = "";
    else if (CurrentGLHasExtension("GL_EXT_framebuffer_object") &&
             CurrentGLHasExtension("GL_EXT_packed_depth_stencil"))
        suffix = "EXT";
    else
        return false;
    auto fetch = [&](auto& fn, const char* name) {
        const std::string full = std::string(name) + suffix;
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lookup(full.c_str()));
    };
    fetch(gl_.genFramebuffers, "glGenFramebuffers");
    fetch(gl_.deleteFramebuffers, "glDeleteFramebuffers");
    fetch(gl_.bindFramebuffer, "glBindFramebuffer");
    fetch(gl_.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    fetch(gl_.checkFramebufferStatus, "glCheckFramebufferStatus");
    fetch(gl_.genRenderbuffers, "glGenRenderbuffers");
    fetch(gl_.deleteRenderbuffers, "glDeleteRenderbuffers");
    fetch(gl_.bindRenderbuffer, "glBindRenderbuffer");
    fetch(gl_.renderbufferStorage, "glRenderbufferStorage");
    if (!gl_.Complete()) gl_ = {};
    return gl_.Complete();
}

bool TGLFramebuffer::Create(int width, int height) {
    Destroy();
    if (!gl_.Complete() || width < 1 || height < 1) return false;
    // Asking for more than the driver allows is an error that would linger for the caller.
    GLint maxSide = 0;
    glGetIntegerv(kMaxRenderbufferSize, &maxSide);
    if (width > maxSide || height > maxSide) return false;
    // Errors left from earlier drawing would be taken for a failure here.
    ClearGLErrors();

    gl_.genFramebuffers(1, &framebuffer_);
    gl_.genRenderbuffers(1, &colour_);
    gl_.genRenderbuffers(1, &depthStencil_);
    gl_.bindFramebuffer(kFramebuffer, framebuffer_);
    gl_.bindRenderbuffer(kRenderbuffer, colour_);
    gl_.renderbufferStorage(kRenderbuffer, GL_RGBA8, width, height);
    gl_.framebufferRenderbuffer(kFramebuffer, kColorAttachment0, kRenderbuffer, colour_);
    gl_.bindRenderbuffer(kRenderbuffer, depthStencil_);
    gl_.renderbufferStorage(kRenderbuffer, kDepth24Stencil8, width, height);
    // Attached at both points rather than at the combined one, which the EXT variant lacks.
    gl_.framebufferRenderbuffer(kFramebuffer, kDepthAttachment, kRenderbuffer, depthStencil_);
    gl_.framebufferRenderbuffer(kFramebuffer, kStencilAttachment, kRenderbuffer, depthStencil_);
    gl_.bindRenderbuffer(kRenderbuffer, 0);
    const bool complete = gl_.checkFramebufferStatus(kFramebuffer) == kFramebufferComplete &&
                          glGetError() == GL_NO_ERROR;
    if (!complete) {
        Destroy();
        ClearGLErrors();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void TGLFramebuffer::Bind() const {
    if (framebuffer_ != 0) gl_.bindFramebuffer(kFramebuffer, framebuffer_);
}

void TGLFramebuffer::Destroy() {
    if (framebuffer_ != 0 || colour_ != 0 || depthStencil_ != 0) {
        gl_.bindFramebuffer(kFramebuffer, 0);
        gl_.deleteFramebuffers(1, &framebuffer_);
        const unsigned int buffers[2] = {colour_, depthStencil_};
        gl_.deleteRenderbuffers(2, buffers);
    }
    Forget();
}

void TGLFramebuffer::Forget() {
    framebuffer_ = 0;
    colour_ = 0;
    depthStencil_ = 0;
    width_ = 0;
    height_ = 0;
}
