#include "render/gl/offscreen_factory.h"

#include "render/gl/egl_offscreen_binding.h"
#include "render/gl/offscreen_binding.h"

std::unique_ptr<IOffscreenBinding> MakeOffscreenBinding(int width, int height) {
    auto egl = std::make_unique<TEglOffscreenBinding>(width, height);
    // A display and a config are not yet a context: only making one shows the driver can.
    if (egl->HasSurface()) {
        const bool works = egl->CreateContext() == TGLCreateResult::kOk;
        egl->DestroyContext();
        if (works) return egl;
    }
    if (EnsureGuiApplication()) {
        auto qt = std::make_unique<TOffscreenGLBinding>(width, height);
        if (qt->HasSurface()) return qt;
    }
    return egl;
}
