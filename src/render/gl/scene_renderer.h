// One frame of the 3-D view: background, lights, the model transform, ground plane and axis,
// the model, the sky box; and screenshots of the view with the model's coverage as alpha.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "md3/md3.h"
#include "render/attached_models.h"
#include "render/gl/md3_drawer.h"
#include "render/gl/skeletal_drawer.h"
#include "shader/q3_shaders.h"
#include "render/scene_settings.h"
#include "render/view_state.h"

class TOGL;

// What is drawn this frame, besides the view state and the switches.
struct TSceneModel {
    int modelKind = kModelKindNone;
    const TMD3* md3 = nullptr;
    int currentFrame = 0;
    int pivotTag = -1;  // the tag chosen as centre of rotation; -1 for none
    // The skeletal family's mesh and animation; posing writes the mesh's pose buffers.
    TMDM* mdm = nullptr;
    const TMDX* mdx = nullptr;
    // A character's head and accessories, drawn on the posed mesh; null for none.
    TAttachedModels* attachments = nullptr;
    // The store md3's shader indexes point into when it is not the renderer's own (a lower
    // level of detail shown instead of the model); null for the renderer's.
    TShaders* md3Shaders = nullptr;
    // The shader clock in seconds: the time animated shaders are drawn at.
    double shaderTime = 0.0;
};

// RGBA pixels of a captured view: rows bottom-up as read back, the model's own colour and
// its opacity (see transparent_picture.h).
struct TCapturedView {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;    // 3 bytes per pixel
    std::vector<std::uint8_t> alpha;  // 255 where the model hides the background, 0 where
                                      // nothing of it is drawn
};

struct TScreenshotResult {
    bool saved = false;
    int number = -1;
    std::string statusText;
};

class TSceneRenderer {
  public:
    TSceneRenderer(TOGL& ogl, TShaders& shaders);

    // Draws and presents one frame; nothing unless the view is showing, the context is ready
    // and no load is in progress.
    void RedrawView(TViewState& view, const TViewSwitches& sw, const TSceneColors& colours,
                    const TSceneModel& model, bool viewActive, bool busy);

    // Draws the model twice more, over black and over white, and reads back the model's
    // colour and opacity as the view draws it: cut-outs clear, blends and glows partly so.
    // `background` fills the pixels nothing covers. Empty when the context is not ready.
    TCapturedView CaptureView(TViewState& view, const TViewSwitches& sw, std::uint32_t background,
                              const TSceneModel& model);

    // Writes folder/screenshot<N>.tga under the first free number.
    TScreenshotResult TakeScreenshot(TViewState& view, const TViewSwitches& sw,
                                     const TSceneColors& colours, const TSceneModel& model,
                                     bool viewActive, const std::string& folder);

    void SetupLights(bool lighting);
    // The chosen tag as centre of rotation (the model's origin without one); kept while
    // "Center Model" holds the fitted pivot.
    void ComputePivot(TViewState& view, const TViewSwitches& sw, const TSceneModel& model);

    TMD3Drawer& MD3Drawer() { return md3Drawer_; }
    TSkeletalDrawer& SkeletalDrawer() { return skeletalDrawer_; }
    bool Capturing() const { return capturing_; }

  private:
    void LookFromCamera();
    void ApplyModelTransform(TViewState& view, const TViewSwitches& sw, const TSceneModel& model);
    void DrawModel(const TSceneModel& model, const TViewSwitches& sw);
    void DrawAttachments(const TSceneModel& model, const TViewSwitches& sw);
    void DrawGroundAndAxis(const TViewSwitches& sw);
    // Camera, lights and the model transform, with the matrix pushed for the model.
    void BeginModelSpace(TViewState& view, const TViewSwitches& sw, const TSceneModel& model);
    void SetModelDrawState(const TViewSwitches& sw);
    // One picture of the model over a clear grey level (0 black, 1 white), read back as RGB.
    std::vector<std::uint8_t> DrawOver(float grey, TViewState& view, const TViewSwitches& sw,
                                       const TSceneModel& model);

    TOGL& ogl_;
    TShaders& shaders_;
    TMD3Drawer md3Drawer_;
    TSkeletalDrawer skeletalDrawer_;
    bool capturing_ = false;  // no view frame is drawn between the two pictures
};
