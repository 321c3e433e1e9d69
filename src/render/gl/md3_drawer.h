// Draws the MD3 model with its shader stages: white base passes, textured, blended and
// alpha-tested stages, then the tag, normal and origin overlays on top.
#pragma once

#include <cstdint>
#include <vector>

#include "md3/md3.h"
#include "render/md3_draw_plan.h"
#include "render/scene_settings.h"
#include "render/shader_evaluation.h"
#include "shader/q3_shaders.h"

class TOGL;

class TMD3Drawer {
  public:
    explicit TMD3Drawer(TOGL& ogl) : ogl_(ogl) {}

    // Draws frame `frame` (nothing for a frame the model does not have), its shaders as they
    // look at the shader clock's time (SetShaderTime), surfaces in their shaders' sort order.
    void DrawMD3Model(const TMD3& model, TShaders& shaders, int frame, const TViewSwitches& sw);

    // The shader clock, in seconds: what waves, scrolling, animated images and deformations
    // show. Drawing the same time twice gives the same picture.
    void SetShaderTime(double seconds) { shaderTime_ = seconds; }
    double ShaderTime() const { return shaderTime_; }

    // Every texture unit back to plain drawing: depth test on, no blending, texturing or
    // alpha test, replace, identity texture matrix; unit 0 selected at the end.
    void ResetTextureUnits();

  private:
    // The frame's vertices of one surface, deformed by its shader, and the triangles that are
    // safe to draw (indices inside the surface).
    void PrepareSurface(const TSurface& surface, int frame, const std::vector<TDeform>* deforms);
    void DrawSurfaceArrays(bool textured, bool coloured);
    // One pass of the surface: twice in alpha blending mode, back faces first.
    void DrawSurface(bool textured, bool coloured, TCullFace cull, bool alphaBlending,
                     bool depthWrite);
    void PlainPass(TCullFace cull, bool alphaBlending);
    void DrawStage(TShaderTexture& stage, bool shaderHasLightmap, bool alphaBlending,
                   bool twoSided);
    // The eye, light and camera axes in the model's coordinates, from the current matrices.
    void CaptureView();
    void DrawOverlays(const TMD3& model, int frame, const TViewSwitches& sw);

    TOGL& ogl_;
    int pass_ = 0;
    double shaderTime_ = 0.0;
    bool lightingOn_ = false;     // the view's lighting switch, as the frame set it
    bool polygonOffset_ = false;  // the current surface's shader asks for it
    bool selfLit_ = false;        // its first stage brings its own light (lightingDiffuse)
    TShaderView view_;
    TSurfaceVertices vertices_;
    std::vector<std::uint8_t> colours_;
    std::vector<float> texCoords_;
    const float* stageTexCoords_ = nullptr;  // what the textured pass draws with
};
