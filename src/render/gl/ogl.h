// TOGL: the program's one OpenGL 1.1 context with its default state, projection, frame count
// and the objects that only live with a context (camera, frustum, fonts, sky box). The
// window system is reached through an IGLBinding.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "math/scalar.h"
#include "render/camera.h"
#include "render/frame_counter.h"
#include "render/frustum.h"
#include "render/gl/gl_binding.h"
#include "render/gl/gl_fonts.h"
#include "render/gl/texture_hooks.h"
#include "render/render_context_errors.h"

class TSkyBox;

struct TViewParams {
    int width = 0;
    int height = 0;
    double nearClip = 1.0;
    double farClip = 5000.0;
    // The angle a 5000-unit extent subtends at 5000 units: 53.130102 degrees.
    double fieldOfView = static_cast<double>(FieldOfViewDeg(5000.0f, 5000.0f));
};

// A rectangle in window pixels with y growing downwards.
struct TGLRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Multitexture entry points; null where the driver lacks GL_ARB_multitexture.
struct TGLMultitexture {
    using ActiveTextureFn = void (*)(unsigned int texture);
    using MultiTexCoord2fFn = void (*)(unsigned int target, float s, float t);
    using MultiTexCoord2fvFn = void (*)(unsigned int target, const float* v);

    ActiveTextureFn activeTexture = nullptr;
    ActiveTextureFn clientActiveTexture = nullptr;
    MultiTexCoord2fFn multiTexCoord2f = nullptr;
    MultiTexCoord2fvFn multiTexCoord2fv = nullptr;

    bool Available() const { return activeTexture != nullptr && multiTexCoord2f != nullptr; }
};

using TGLErrorHandler = std::function<void(const TGLErrorReport&)>;

class TOGL {
  public:
    TOGL();
    // Releases the context if it is still ready.
    ~TOGL();
    TOGL(const TOGL&) = delete;
    TOGL& operator=(const TOGL&) = delete;

    // Context and surface both exist.
    bool IsReady();
    // Creates the context on the binding and sets the default state; nothing if ready.
    // The binding must outlive the context (until Release).
    void InitOnWindow(IGLBinding* binding);
    // Frees the context's objects (textures, sky box, fonts) while it is still current, then
    // the context itself.
    void Release();
    void MakeCurrent();
    void Swap();

    // Plain substring search, so a name that is only part of a longer one counts as present.
    bool HasExtension(std::string_view name) const;
    void SetSwapInterval(bool waitForRetrace);
    int QueryMaxTextureUnits();

    void Resize(int width, int height);
    void ApplyProjection();
    void BeginScreenOrtho();
    void PushMatrices();
    void PopMatrices();

    // A quad over the picture in window pixels, `lower` at its lower edge.
    void DrawGradientRect(const TGLRect& rect, TRGBFloats lower, TRGBFloats upper);
    // Colours packed 0x00BBGGRR; `first` is the upper edge and `second` the lower.
    void DrawGradientRectColors(const TGLRect& rect, std::uint32_t first, std::uint32_t second);

    // Reads the current modelview and projection matrices into the frustum.
    void UpdateFrustum();

    // Selects a texture unit; without multitexture only unit 0 exists. False when the unit
    // cannot be selected.
    bool SelectTextureUnit(int unit);
    // Selects the unit that texture coordinate arrays go to, in the same way.
    bool SelectClientTextureUnit(int unit);

    void CountFrame() { frames_.CountFrame(); }
    void LatchFrameCount() { frames_.LatchFrameCount(); }
    std::int32_t FramesLastPeriod() const { return frames_.FramesLastPeriod(); }
    TFrameCounter& FrameCounter() { return frames_; }

    // Hands the report to the error handler (the GUI shows a message box and, when the report
    // asks to quit, ends the program with the code). Without a handler it goes to stderr.
    void ReportError(int code);
    void SetErrorHandler(TGLErrorHandler handler) { errorHandler_ = std::move(handler); }
    int LastErrorCode() const { return lastErrorCode_; }

    void SetTextureHooks(TTextureHooks hooks) { textureHooks_ = std::move(hooks); }
    const TTextureHooks& TextureHooks() const { return textureHooks_; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    const TViewParams& ViewParams() const { return viewParams_; }
    bool OverlayActive() const { return overlayActive_; }
    int WantedSwapInterval() const { return wantedSwapInterval_; }
    int InitialSwapInterval() const { return initialSwapInterval_; }
    int MaxTextureUnits() const { return maxTextureUnits_; }
    const TGLMultitexture& Multitexture() const { return multitexture_; }
    IGLBinding* Binding() const { return binding_; }

    TCamera& Camera() { return camera_; }
    TFrustum& Frustum() { return frustum_; }
    TGLFonts& Fonts() { return fonts_; }
    TSkyBox& SkyBox() { return *skyBox_; }

  private:
    void FetchEntryPoints();
    void SetDefaultState();

    TCamera camera_;
    IGLBinding* binding_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
    TViewParams viewParams_;
    TFrameCounter frames_;
    bool overlayActive_ = false;
    int wantedSwapInterval_ = 1;
    int initialSwapInterval_ = 1;
    int maxTextureUnits_ = -1;
    TFrustum frustum_;
    TTextureHooks textureHooks_;
    TGLFonts fonts_;
    std::unique_ptr<TSkyBox> skyBox_;
    TGLMultitexture multitexture_;
    TGLErrorHandler errorHandler_;
    int lastErrorCode_ = 0;
};
