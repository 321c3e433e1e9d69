#include "render/gl/offscreen_binding.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <algorithm>

#include "render/gl/context_format.h"

bool EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "veldra";
    static char* argv[] = {name, nullptr};
    // Never deleted: tearing the application down among static destructors is unsafe.
    new QGuiApplication(argc, argv);
    return true;
}

TOffscreenGLBinding::TOffscreenGLBinding(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(ContextFormat());
    surface_->create();
}

TOffscreenGLBinding::~TOffscreenGLBinding() {
    DestroyContext();
}

bool TOffscreenGLBinding::HasSurface() const {
    return surface_ != nullptr && surface_->isValid();
}

bool TOffscreenGLBinding::HasContext() const {
    return context_ != nullptr && context_->isValid() && framebuffer_ != nullptr;
}

TGLCreateResult TOffscreenGLBinding::CreateContext() {
    DestroyContext();
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(ContextFormat());
    if (!context->create()) return TGLCreateResult::kNoContext;
    // The drawing code is fixed-function OpenGL: an ES or core-profile context cannot run it.
    if (context->isOpenGLES() || context->format().profile() == QSurfaceFormat::CoreProfile)
        return TGLCreateResult::kNoPixelFormat;
    if (!context->makeCurrent(surface_.get())) return TGLCreateResult::kNoContext;
    context_ = std::move(context);
    if (!MakeFramebuffer()) {
        DestroyContext();
        return TGLCreateResult::kPixelFormatNotSet;
    }
    context_->doneCurrent();
    return TGLCreateResult::kOk;
}

bool TOffscreenGLBinding::MakeFramebuffer() {
    framebuffer_.reset();
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setInternalTextureFormat(GL_RGBA8);
    // A framebuffer cannot be empty; a zero-sized panel still gets one pixel to draw into.
    auto framebuffer = std::make_unique<QOpenGLFramebufferObject>(std::max(1, width_),
                                                                  std::max(1, height_), format);
    if (!framebuffer->isValid()) return false;
    framebuffer_ = std::move(framebuffer);
    return framebuffer_->bind();
}

void TOffscreenGLBinding::DestroyContext() {
    if (context_ == nullptr) return;
    // The framebuffer's GL objects are best freed while their context is current.
    const bool current = context_->makeCurrent(surface_.get());
    framebuffer_.reset();
    if (current) context_->doneCurrent();
    context_.reset();
}

bool TOffscreenGLBinding::SetSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (context_ == nullptr) return true;
    if (!context_->makeCurrent(surface_.get())) return false;
    return MakeFramebuffer();
}

bool TOffscreenGLBinding::MakeCurrent() {
    if (!HasContext() || !context_->makeCurrent(surface_.get())) return false;
    return framebuffer_->bind();
}

void TOffscreenGLBinding::DoneCurrent() {
    if (context_ != nullptr) context_->doneCurrent();
}

void TOffscreenGLBinding::SwapBuffers() {
    // Nothing to present: finishing the drawing makes it visible to ReadPixels.
    if (HasContext() && QOpenGLContext::currentContext() == context_.get()) glFlush();
}

std::string TOffscreenGLBinding::ExtensionString() const {
    if (!HasContext() || QOpenGLContext::currentContext() != context_.get()) return {};
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return text != nullptr ? std::string(text) : std::string();
}

TGLProc TOffscreenGLBinding::ProcAddress(const char* name) const {
    if (context_ == nullptr) return nullptr;
    return reinterpret_cast<TGLProc>(context_->getProcAddress(name));
}

TPixelImage TOffscreenGLBinding::ReadPixels() const {
    if (!HasContext() || QOpenGLContext::currentContext() != context_.get()) return {};
    return ReadFramebufferPixels(framebuffer_->width(), framebuffer_->height());
}
