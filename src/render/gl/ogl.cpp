#include "render/gl/ogl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "render/gl/sky_box.h"

namespace {

// From the multitexture extension; spelled out so that no particular glext.h is needed.
constexpr GLenum kMaxTextureUnits = 0x84E2;
constexpr GLenum kTexture0 = 0x84C0;

template <typename Fn>
Fn Lookup(const IGLBinding& binding, const char* name) {
    return reinterpret_cast<Fn>(binding.ProcAddress(name));
}

}  // namespace

TOGL::TOGL() : skyBox_(std::make_unique<TSkyBox>(*this)) {
    camera_.ResetCamera();
}

TOGL::~TOGL() {
    if (IsReady()) Release();
}

bool TOGL::IsReady() {
    ready_ = binding_ != nullptr && binding_->HasSurface() && binding_->HasContext();
    return ready_;
}

void TOGL::InitOnWindow(IGLBinding* binding) {
    if (IsReady()) return;
    if (binding == nullptr) {
        ReportError(kGLErrorNoDeviceContext);
        return;
    }
    width_ = std::max(0, binding->Width());
    height_ = std::max(0, binding->Height());
    viewParams_.width = width_;
    viewParams_.height = height_;

    // Each step needs the one before it: carrying on after a failure would call GL without
    // a context, so the first failure is the one reported.
    if (!binding->HasSurface()) {
        ReportError(kGLErrorNoDeviceContext);
        return;
    }
    const TGLCreateResult created = binding->CreateContext();
    if (created != TGLCreateResult::kOk) {
        ReportError(static_cast<int>(created));
        return;
    }
    if (!binding->MakeCurrent()) {
        binding->DestroyContext();
        ReportError(kGLErrorNotCurrent);
        return;
    }
    binding_ = binding;
    FetchEntryPoints();
    if (IsReady()) SetDefaultState();
}

void TOGL::FetchEntryPoints() {
    multitexture_ = {};
    if (binding_->HasSwapControl()) initialSwapInterval_ = binding_->SwapInterval();
    if (HasExtension("GL_ARB_multitexture")) {
        multitexture_.clientActiveTexture =
            Lookup<TGLMultitexture::ActiveTextureFn>(*binding_, "glClientActiveTextureARB");
        multitexture_.activeTexture =
            Lookup<TGLMultitexture::ActiveTextureFn>(*binding_, "glActiveTextureARB");
        multitexture_.multiTexCoord2f =
            Lookup<TGLMultitexture::MultiTexCoord2fFn>(*binding_, "glMultiTexCoord2f");
        multitexture_.multiTexCoord2fv =
            Lookup<TGLMultitexture::MultiTexCoord2fvFn>(*binding_, "glMultiTexCoord2fv");
    }
}

void TOGL::SetDefaultState() {
    SetSwapInterval(wantedSwapInterval_ == 1);
    QueryMaxTextureUnits();
    ApplyProjection();

    glHint(GL_FOG_HINT, GL_FASTEST);
    glFogf(GL_FOG_DENSITY, 0.3f);
    glFogf(GL_FOG_START, 1000.0f);
    glFogf(GL_FOG_END, 5000.0f);
    const GLfloat fogColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glDisable(GL_FOG);

    fonts_.Add("Courier New", 14, false);
    fonts_.Add("Arial", 12, false);

    glDepthFunc(GL_LESS);
    glDepthRange(0.0, 1.0);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);

    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_POLYGON_OFFSET_FILL);

    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    // Both window buffers start cleared. A framebuffer object is cleared by the first
    // frame anyway, and a clear with alpha masked off is slow to set up on software drivers.
    if (binding_->DrawsToWindowBuffers()) {
        glDrawBuffer(GL_FRONT_AND_BACK);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawBuffer(GL_BACK);
    }

    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    glDisable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_DITHER);
    glDisable(GL_BLEND);

    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);

    Swap();
}

void TOGL::Release() {
    if (IsReady()) {
        // Display lists and textures die with the context; free them while it is current
        // so that nothing keeps names that a later context could hand out again.
        if (binding_->MakeCurrent()) {
            skyBox_->FreeSkyBox();
            fonts_.ReleaseAll();
            if (textureHooks_.freeAll) textureHooks_.freeAll();
        } else {
            skyBox_->Forget();
            fonts_.Forget();
        }
        binding_->DoneCurrent();
        binding_->DestroyContext();
    }
    binding_ = nullptr;
    ready_ = false;
    multitexture_ = {};
    wantedSwapInterval_ = initialSwapInterval_;
}

void TOGL::MakeCurrent() {
    if (binding_ == nullptr || !binding_->HasSurface() || !binding_->HasContext() ||
        !binding_->MakeCurrent())
        ReportError(kGLErrorNotCurrent);
}

void TOGL::Swap() {
    if (IsReady()) binding_->SwapBuffers();
}

bool TOGL::HasExtension(std::string_view name) const {
    if (binding_ == nullptr || name.empty()) return false;
    return binding_->ExtensionString().find(name) != std::string::npos;
}

void TOGL::SetSwapInterval(bool waitForRetrace) {
    if (binding_ == nullptr || !binding_->HasSwapControl()) return;
    wantedSwapInterval_ = waitForRetrace ? 1 : 0;
    binding_->SetSwapInterval(wantedSwapInterval_);
}

int TOGL::QueryMaxTextureUnits() {
    if (!IsReady()) return -1;
    // Without multitexture the query would be an invalid enum: there is just one unit.
    GLint units = 1;
    if (multitexture_.Available()) glGetIntegerv(kMaxTextureUnits, &units);
    maxTextureUnits_ = units;
    return maxTextureUnits_;
}

void TOGL::Resize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    viewParams_.width = width;
    viewParams_.height = height;
    ApplyProjection();
}

void TOGL::ApplyProjection() {
    if (!IsReady()) return;
    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A collapsed panel keeps a square aspect instead of dividing by zero.
    const double aspect = (width_ > 0 && height_ > 0) ? static_cast<double>(width_) / height_ : 1.0;
    gluPerspective(viewParams_.fieldOfView, aspect, viewParams_.nearClip, viewParams_.farClip);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    overlayActive_ = false;
}

void TOGL::BeginScreenOrtho() {
    if (!IsReady()) return;
    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width_, 0.0, height_, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    overlayActive_ = true;
}

void TOGL::PushMatrices() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void TOGL::PopMatrices() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void TOGL::DrawGradientRect(const TGLRect& rect, TRGBFloats lower, TRGBFloats upper) {
    if (!IsReady()) return;
    // Popping restores the projection that was in force, so the flag must follow it: left
    // set, a second gradient would skip the orthographic setup and draw in perspective.
    const bool overlayBefore = overlayActive_;
    PushMatrices();
    if (!overlayActive_) BeginScreenOrtho();

    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    const auto left = static_cast<GLfloat>(std::min(rect.left, rect.right));
    const auto right = static_cast<GLfloat>(std::max(rect.left, rect.right));
    const auto h = static_cast<GLfloat>(height_);
    const GLfloat low = h - static_cast<GLfloat>(std::max(rect.top, rect.bottom));
    const GLfloat high = h - static_cast<GLfloat>(std::min(rect.top, rect.bottom));

    glBegin(GL_QUADS);
    glColor3f(lower.r, lower.g, lower.b);
    glVertex2f(left, low);
    glColor3f(upper.r, upper.g, upper.b);
    glVertex2f(left, high);
    glVertex2f(right, high);
    glColor3f(lower.r, lower.g, lower.b);
    glVertex2f(right, low);
    glEnd();

    PopMatrices();
    overlayActive_ = overlayBefore;
}

void TOGL::DrawGradientRectColors(const TGLRect& rect, std::uint32_t first, std::uint32_t second) {
    DrawGradientRect(rect, ColorToRGBFloats(second), ColorToRGBFloats(first));
}

void TOGL::UpdateFrustum() {
    if (!IsReady()) return;
    TMatrix4 modelview;
    TMatrix4 projection;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.e);
    glGetFloatv(GL_PROJECTION_MATRIX, projection.e);
    frustum_.SetFromMatrices(modelview, projection);
}

bool TOGL::SelectTextureUnit(int unit) {
    if (multitexture_.activeTexture == nullptr) return unit == 0;
    if (unit < 0 || (maxTextureUnits_ > 0 && unit >= maxTextureUnits_)) return false;
    multitexture_.activeTexture(kTexture0 + static_cast<GLenum>(unit));
    return true;
}

bool TOGL::SelectClientTextureUnit(int unit) {
    if (multitexture_.clientActiveTexture == nullptr) return unit == 0;
    if (unit < 0 || (maxTextureUnits_ > 0 && unit >= maxTextureUnits_)) return false;
    multitexture_.clientActiveTexture(kTexture0 + static_cast<GLenum>(unit));
    return true;
}

void TOGL::ReportError(int code) {
    lastErrorCode_ = code;
    const TGLErrorReport report = MakeGLErrorReport(code);
    if (errorHandler_) {
        errorHandler_(report);
    } else {
        std::fprintf(stderr, "%s: %s\n", report.caption.c_str(), report.message.c_str());
    }
}
