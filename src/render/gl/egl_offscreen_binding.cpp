#include "render/gl/egl_offscreen_binding.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "render/gl/gl_context_info.h"

namespace {

bool HasToken(const char* list, std::string_view name) {
    return list != nullptr && ListHasName(list, name);
}

// EGL hands out one display per platform and device for the whole process, and eglTerminate
// ends it for every user at once: two bindings alive together must not end each other's
// contexts, and a display someone else initialised is left to them.
class TDisplayUsers {
  public:
    static bool Acquire(EGLDisplay display) {
        std::lock_guard lock(Mutex());
        TUse& use = Uses()[display];
        if (use.count == 0) {
            use.foreign = eglQueryString(display, EGL_VERSION) != nullptr;
            EGLint major = 0, minor = 0;
            if (!use.foreign && eglInitialize(display, &major, &minor) != EGL_TRUE) {
                Uses().erase(display);
                return false;
            }
        }
        ++use.count;
        return true;
    }

    static void Release(EGLDisplay display) {
        std::lock_guard lock(Mutex());
        auto it = Uses().find(display);
        if (it == Uses().end() || --it->second.count > 0) return;
        if (!it->second.foreign) eglTerminate(display);
        Uses().erase(it);
    }

  private:
    struct TUse {
        int count = 0;
        bool foreign = false;
    };
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::map<EGLDisplay, TUse>& Uses() {
        static std::map<EGLDisplay, TUse> uses;
        return uses;
    }
};

// In order of preference: the surfaceless platform needs neither a display server nor access
// to a GPU device node; devices come next; the default display last, since without a display
// server most implementations cannot open it.
std::vector<EGLDisplay> CandidateDisplays() {
    std::vector<EGLDisplay> displays;
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (HasToken(client, "EGL_EXT_platform_base") && getPlatformDisplay != nullptr) {
        if (HasToken(client, "EGL_MESA_platform_surfaceless"))
            displays.push_back(
                getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
        const auto queryDevices =
            reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
        if (HasToken(client, "EGL_EXT_platform_device") && queryDevices != nullptr) {
            std::array<EGLDeviceEXT, 8> devices{};
            EGLint count = 0;
            if (queryDevices(static_cast<EGLint>(devices.size()), devices.data(), &count) ==
                EGL_TRUE) {
                for (EGLint i = 0; i < count; ++i)
                    displays.push_back(
                        getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr));
            }
        }
    }
    displays.push_back(eglGetDisplay(EGL_DEFAULT_DISPLAY));
    std::vector<EGLDisplay> unique;
    for (EGLDisplay display : displays) {
        if (display != EGL_NO_DISPLAY &&
            std::find(unique.begin(), unique.end(), display) == unique.end())
            unique.push_back(display);
    }
    return unique;
}

// Colour, depth and stencil live in the framebuffer object, so the config only has to carry
// desktop OpenGL and, for the fallback, a pbuffer.
EGLConfig ChooseConfig(EGLDisplay display, EGLint surfaceType) {
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, surfaceType,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display, attributes, &config, 1, &count) != EGL_TRUE || count < 1)
        return nullptr;
    return config;
}

TGLProc LookUp(const char* name) {
    return reinterpret_cast<TGLProc>(eglGetProcAddress(name));
}

}  // namespace

TEglOffscreenBinding::TEglOffscreenBinding(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
    // Without desktop OpenGL in the implementation no display can help.
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return;
    for (EGLDisplay display : CandidateDisplays()) {
        if (OpenDisplay(display)) return;
    }
}

bool TEglOffscreenBinding::OpenDisplay(void* display) {
    if (!TDisplayUsers::Acquire(display)) return false;
    const bool surfaceless =
        HasToken(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
    // A config with pbuffers keeps the fallback open should surfaceless current-making fail;
    // where surfaceless works, any desktop GL config will do.
    EGLConfig config = ChooseConfig(display, EGL_PBUFFER_BIT);
    if (config == nullptr && surfaceless) config = ChooseConfig(display, 0);
    if (config == nullptr) {
        TDisplayUsers::Release(display);
        return false;
    }
    display_ = display;
    config_ = config;
    surfaceless_ = surfaceless;
    return true;
}

TEglOffscreenBinding::~TEglOffscreenBinding() {
    DestroyContext();
    if (display_ != EGL_NO_DISPLAY) TDisplayUsers::Release(display_);
}

bool TEglOffscreenBinding::HasSurface() const {
    return display_ != EGL_NO_DISPLAY && config_ != nullptr;
}

bool TEglOffscreenBinding::HasContext() const {
    return context_ != EGL_NO_CONTEXT && framebuffer_.IsComplete();
}

TGLCreateResult TEglOffscreenBinding::CreateContext() {
    DestroyContext();
    if (!HasSurface()) return TGLCreateResult::kNoPixelFormat;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return TGLCreateResult::kNoContext;
    // No attributes: version 1.0 is asked for, which drivers answer with their newest
    // compatibility-profile context.
    context_ = eglCreateContext(display_, config_, EGL_NO_CONTEXT, nullptr);
    if (context_ == EGL_NO_CONTEXT) return TGLCreateResult::kNoContext;

    bool current = surfaceless_ && MakeContextCurrent();
    if (!current) {
        EGLint surfaceType = 0;
        eglGetConfigAttrib(display_, config_, EGL_SURFACE_TYPE, &surfaceType);
        if ((surfaceType & EGL_PBUFFER_BIT) != 0) {
            const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
            pbuffer_ = eglCreatePbufferSurface(display_, config_, size);
            current = pbuffer_ != EGL_NO_SURFACE && MakeContextCurrent();
        }
    }
    if (!current) {
        DestroyContext();
        return TGLCreateResult::kNoContext;
    }
    if (!CurrentGLRunsFixedFunction() || !framebuffer_.LoadEntryPoints(LookUp)) {
        DestroyContext();
        return TGLCreateResult::kNoPixelFormat;
    }
    // A framebuffer cannot be empty; a zero-sized panel still gets one pixel to draw into.
    if (!framebuffer_.Create(std::max(1, width_), std::max(1, height_))) {
        DestroyContext();
        return TGLCreateResult::kPixelFormatNotSet;
    }
    // A window's context starts with the viewport over the window; without a surface it would
    // start empty.
    glViewport(0, 0, framebuffer_.Width(), framebuffer_.Height());
    DoneCurrent();
    return TGLCreateResult::kOk;
}

bool TEglOffscreenBinding::MakeContextCurrent() {
    if (context_ == EGL_NO_CONTEXT) return false;
    // Without a pbuffer this is the surfaceless case: no surface at all.
    return eglMakeCurrent(display_, pbuffer_, pbuffer_, context_) == EGL_TRUE;
}

bool TEglOffscreenBinding::IsCurrent() const {
    return context_ != EGL_NO_CONTEXT && eglGetCurrentContext() == context_;
}

void TEglOffscreenBinding::DestroyContext() {
    if (context_ != EGL_NO_CONTEXT) {
        // The framebuffer's GL objects can only be freed while their context is current.
        if (MakeContextCurrent())
            framebuffer_.Destroy();
        else
            framebuffer_.Forget();
        DoneCurrent();
        eglDestroyContext(display_, context_);
        context_ = EGL_NO_CONTEXT;
    }
    if (pbuffer_ != EGL_NO_SURFACE) {
        eglDestroySurface(display_, pbuffer_);
        pbuffer_ = EGL_NO_SURFACE;
    }
}

bool TEglOffscreenBinding::SetSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (context_ == EGL_NO_CONTEXT) return true;
    if (!MakeContextCurrent()) return false;
    return framebuffer_.Create(std::max(1, width_), std::max(1, height_));
}

bool TEglOffscreenBinding::MakeCurrent() {
    if (!HasContext() || !MakeContextCurrent()) return false;
    framebuffer_.Bind();
    return true;
}

void TEglOffscreenBinding::DoneCurrent() {
    if (!IsCurrent()) return;
    // Releasing acts on the context of the bound API, which someone else may have changed.
    eglBindAPI(EGL_OPENGL_API);
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void TEglOffscreenBinding::SwapBuffers() {
    // Nothing to present: finishing the drawing makes it visible to ReadPixels.
    if (HasContext() && IsCurrent()) glFlush();
}

std::string TEglOffscreenBinding::ExtensionString() const {
    if (!HasContext() || !IsCurrent()) return {};
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return text != nullptr ? std::string(text) : std::string();
}

TGLProc TEglOffscreenBinding::ProcAddress(const char* name) const {
    if (context_ == EGL_NO_CONTEXT) return nullptr;
    return LookUp(name);
}

TPixelImage TEglOffscreenBinding::ReadPixels() const {
    if (!HasContext() || !IsCurrent()) return {};
    framebuffer_.Bind();
    return ReadFramebufferPixels(framebuffer_.Width(), framebuffer_.Height());
}
