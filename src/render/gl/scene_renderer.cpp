#include "render/gl/scene_renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <filesystem>

#include "io/atomic_file_writer.h"
#include "io/file_error.h"
#include "render/gl/ogl.h"
#include "render/gl/sky_box.h"
#include "render/screenshot_file.h"
#include "render/skeletal_view.h"
#include "render/transparent_picture.h"

namespace {

void SetLight(GLenum light, const GLfloat* position) {
    static const GLfloat kDiffuse[] = {1.0f, 1.0f, 1.0f, 0.0f};
    static const GLfloat kAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, kDiffuse);
    glLightfv(light, GL_SPECULAR, kDiffuse);
    glLightfv(light, GL_AMBIENT, kAmbient);
    glEnable(light);
}

// The second light follows the model's world space from the camera transform on.
void PlaceWorldLight() {
    static const GLfloat kPosition[] = {0.0f, 0.0f, 2000.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, kPosition);
}

// Face, depth and texturing state every frame starts from.
void BeginFrameState() {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
}

// Both faces: surfaces whose stage does not cull show their back faces even without
// "Two-Sided", and a back face left filled would show through a wireframe.
void ApplyPolygonMode(const TViewSwitches& sw) {
    glPolygonMode(GL_FRONT_AND_BACK, sw.wireframe ? GL_LINE : GL_FILL);
}

std::vector<std::uint8_t> ReadBack(int width, int height, GLenum format, int bytesPerPixel) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * bytesPerPixel);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace

TSceneRenderer::TSceneRenderer(TOGL& ogl, TShaders& shaders)
    : ogl_(ogl), shaders_(shaders), md3Drawer_(ogl), skeletalDrawer_(ogl) {}

void TSceneRenderer::SetupLights(bool lighting) {
    static const GLfloat kSpecular[] = {0.2f, 0.2f, 0.2f, 1.0f};
    static const GLfloat kAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    static const GLfloat kLight0[] = {0.0f, 6000.0f, 0.0f, 1.0f};
    static const GLfloat kLight1[] = {-6000.0f, -6000.0f, 6000.0f, 0.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, kSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 16.0f);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbient);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    SetLight(GL_LIGHT0, kLight0);
    SetLight(GL_LIGHT1, kLight1);
    if (lighting) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
}

void TSceneRenderer::ComputePivot(TViewState& view, const TViewSwitches& sw,
                                  const TSceneModel& model) {
    if (sw.centerModel) return;
    if (IsSkeletalFamily(model.modelKind) && model.mdm != nullptr && model.mdx != nullptr) {
        const std::optional<TVector3> tag = SkeletalTagOrigin(
            *model.mdm, *model.mdx, model.currentFrame, model.pivotTag, skeletalDrawer_.Poser());
        view.pivot = tag ? -*tag : kVectorZero;
        return;
    }
    if (!IsMD3Family(model.modelKind) || model.md3 == nullptr) return;
    const THeader& h = model.md3->header;
    const bool tagChosen = model.pivotTag >= 0 && model.pivotTag < h.numTags &&
                           h.tags.size() == static_cast<std::size_t>(h.numTags) * h.numFrames &&
                           model.currentFrame >= 0 && model.currentFrame < h.numFrames;
    view.pivot =
        tagChosen
            ? -h.tags[static_cast<std::size_t>(model.currentFrame) * h.numTags + model.pivotTag]
                   .origin
            : kVectorZero;
}

void TSceneRenderer::LookFromCamera() {
    const TCamera& c = ogl_.Camera();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(c.position.x, c.position.y, c.position.z, c.target.x, c.target.y, c.target.z, c.up.x,
              c.up.y, c.up.z);
    ogl_.UpdateFrustum();
}

void TSceneRenderer::ApplyModelTransform(TViewState& view, const TViewSwitches& sw,
                                         const TSceneModel& model) {
    glTranslatef(view.pan.x, view.pan.y, view.pan.z);
    if (sw.mouseControlType2) {
        // The pivot of the previous frame: the new one is only known after this.
        glMultMatrixf(view.rotationMatrix.e);
        glTranslatef(view.pivot.x, view.pivot.y, view.pivot.z);
        ComputePivot(view, sw, model);
        return;
    }
    glRotatef(view.rotationAngles.x, 1.0f, 0.0f, 0.0f);
    glRotatef(view.rotationAngles.y, 0.0f, 1.0f, 0.0f);
    glRotatef(view.rotationAngles.z, 0.0f, 0.0f, 1.0f);
    ComputePivot(view, sw, model);
    glTranslatef(view.pivot.x, view.pivot.y, view.pivot.z);
}

void TSceneRenderer::BeginModelSpace(TViewState& view, const TViewSwitches& sw,
                                     const TSceneModel& model) {
    LookFromCamera();
    glPushMatrix();
    glPushMatrix();
    glLoadIdentity();
    SetupLights(sw.lighting);
    glPopMatrix();
    PlaceWorldLight();
    ApplyModelTransform(view, sw, model);
}

void TSceneRenderer::SetModelDrawState(const TViewSwitches& sw) {
    if (sw.lighting) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
    glShadeModel(sw.flatShading ? GL_FLAT : GL_SMOOTH);
    ApplyPolygonMode(sw);
}

void TSceneRenderer::DrawGroundAndAxis(const TViewSwitches& sw) {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    if (sw.showGroundplane) {
        glColor3f(0.7f, 0.7f, 0.7f);
        glBegin(GL_LINES);
        for (int i = -30; i <= 30; ++i) {
            glVertex3f(10.0f * i, -300.0f, 0.0f);
            glVertex3f(10.0f * i, 300.0f, 0.0f);
        }
        for (int i = -30; i <= 30; ++i) {
            glVertex3f(-300.0f, 10.0f * i, 0.0f);
            glVertex3f(300.0f, 10.0f * i, 0.0f);
        }
        glEnd();
    }
    glDisable(GL_DEPTH_TEST);
    if (sw.showAxis) {
        glBegin(GL_LINES);
        glColor3f(1, 0, 0), glVertex3f(0, 0, 0), glVertex3f(300, 0, 0);
        glColor3f(0, 1, 0), glVertex3f(0, 0, 0), glVertex3f(0, 300, 0);
        glColor3f(0, 0, 1), glVertex3f(0, 0, 0), glVertex3f(0, 0, 300);
        glEnd();
    }
    glEnable(GL_DEPTH_TEST);
}

void TSceneRenderer::DrawModel(const TSceneModel& model, const TViewSwitches& sw) {
    md3Drawer_.SetShaderTime(model.shaderTime);
    if (IsMD3Family(model.modelKind) && model.md3 != nullptr) {
        md3Drawer_.DrawMD3Model(*model.md3,
                                model.md3Shaders != nullptr ? *model.md3Shaders : shaders_,
                                model.currentFrame, sw);
    } else if (IsSkeletalFamily(model.modelKind) && model.mdm != nullptr && model.mdx != nullptr) {
        skeletalDrawer_.DrawSkeletalModel(*model.mdm, *model.mdx, shaders_, model.currentFrame, sw);
        DrawAttachments(model, sw);
    }
}

void TSceneRenderer::DrawAttachments(const TSceneModel& model, const TViewSwitches& sw) {
    if (!sw.showAttachments || model.attachments == nullptr || model.attachments->empty()) return;
    TAttachedModels& models = *model.attachments;
    const std::vector<std::optional<TOrientation>> placed = PlaceOnPosedBody(
        models, *model.mdm, *model.mdx, model.currentFrame, skeletalDrawer_.Poser());
    // The tags and normals asked for are the body's; the accessories' own would bury them.
    TViewSwitches own = sw;
    own.showTags = false;
    own.showNormals = false;
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (!placed[i]) continue;
        SetModelDrawState(own);
        glPushMatrix();
        glMultMatrixf(OrientationMatrix(*placed[i]).e);
        md3Drawer_.DrawMD3Model(models[i].model, *models[i].shaders, 0, own);
        glPopMatrix();
    }
}

void TSceneRenderer::RedrawView(TViewState& view, const TViewSwitches& sw,
                                const TSceneColors& colours, const TSceneModel& model,
                                bool viewActive, bool busy) {
    if (!viewActive || !ogl_.IsReady() || busy || capturing_) return;
    ogl_.MakeCurrent();
    BeginFrameState();
    const bool skyBox = ogl_.SkyBox().Visible();
    if (!skyBox) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ogl_.DrawGradientRectColors({0, 0, ogl_.Width(), ogl_.Height()}, colours.skyTop,
                                    colours.skyBottom);
        ogl_.ApplyProjection();
    } else {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    BeginModelSpace(view, sw, model);
    DrawGroundAndAxis(sw);
    SetModelDrawState(sw);
    DrawModel(model, sw);
    glPopMatrix();
    glShadeModel(GL_SMOOTH);
    if (skyBox) ogl_.SkyBox().DrawSkyBox(ogl_.Camera());
    glFlush();
    ogl_.Swap();
}

std::vector<std::uint8_t> TSceneRenderer::DrawOver(float grey, TViewState& view,
                                                   const TViewSwitches& sw,
                                                   const TSceneModel& model) {
    BeginFrameState();
    // The view may have left a screen-space overlay's projection behind.
    ogl_.ApplyProjection();
    glClearColor(grey, grey, grey, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    BeginModelSpace(view, sw, model);
    SetModelDrawState(sw);
    DrawModel(model, sw);
    glPopMatrix();
    glShadeModel(GL_SMOOTH);
    glFlush();
    return ReadBack(ogl_.Width(), ogl_.Height(), GL_RGB, 3);
}

TCapturedView TSceneRenderer::CaptureView(TViewState& view, const TViewSwitches& sw,
                                          std::uint32_t background, const TSceneModel& model) {
    TCapturedView shot;
    if (!ogl_.IsReady()) return shot;
    shot.width = ogl_.Width();
    shot.height = ogl_.Height();
    capturing_ = true;
    ogl_.MakeCurrent();
    const std::vector<std::uint8_t> overBlack = DrawOver(0.0f, view, sw, model);
    // Both pictures are drawn at the same shader time, so the stages match.
    const std::vector<std::uint8_t> overWhite = DrawOver(1.0f, view, sw, model);
    capturing_ = false;
    const TRGBFloats bg = ColorToRGBFloats(background);
    const auto byte = [](float f) { return static_cast<std::uint8_t>(f * 255.0f + 0.5f); };
    SeparateFromBackground(overBlack, overWhite, {byte(bg.r), byte(bg.g), byte(bg.b)}, shot.rgb,
                           shot.alpha);

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    return shot;
}

TScreenshotResult TSceneRenderer::TakeScreenshot(TViewState& view, const TViewSwitches& sw,
                                                 const TSceneColors& colours,
                                                 const TSceneModel& model, bool viewActive,
                                                 const std::string& folder) {
    TScreenshotResult result;
    if (!viewActive || !ogl_.IsReady()) return result;
    const TCapturedView shot = CaptureView(view, sw, colours.screenshotBackground, model);
    const std::vector<std::uint8_t> tga =
        BuildScreenshotTga(shot.width, shot.height, shot.rgb, shot.alpha);
    result.number = NextScreenshotNumber(folder);
    const std::string name = ScreenshotFileName(result.number);
    try {
        AtomicFileWriter out((std::filesystem::path(folder) / name).string());
        out.Write(tga.data(), tga.size());
        result.saved = out.Commit();
        result.statusText = result.saved ? "Screenshot saved into file: " + name
                                         : "Screenshot not saved: " + out.error();
    } catch (const FileError& e) {
        result.statusText = std::string("Screenshot not saved: ") + e.what();
    }
    return result;
}
