// Draws the MD3 model with its shader stages: white base passes, textured, blended and
// alpha-tested stages, then the tag, normal and origin overlays on top.
#pragma once

#include <cstdint>
#include <vector>

#include "md3/md3.h"
#include "render/md3_draw_plan.h"
#include "shader/q3_shaders.h"
#include "render/scene_settings.h"

class TOGL;

class TMD3Drawer {
  public:
    explicit TMD3Drawer(TOGL& ogl) : ogl_(ogl) {}

    // Draws frame `frame` (nothing for a frame the model does not have). Stage animation
    // advances by one drawn frame unless held.
    void DrawMD3Model(const TMD3& model, TShaders& shaders, int frame, const TViewSwitches& sw);

    // Keeps scrolling and turning stages where they are, so that drawing one picture twice
    // gives the same picture.
    void HoldStageAnimation(bool hold) { stagesHeld_ = hold; }

    // Every texture unit back to plain drawing: depth test on, no blending, texturing or
    // alpha test, replace, identity texture matrix; unit 0 selected at the end.
    void ResetTextureUnits();

  private:
    // The frame's vertices of one surface as GL arrays, and the triangles that are safe to
    // draw (indices inside the surface).
    void PrepareSurface(const TSurface& surface, int frame);
    void DrawSurfaceArrays(bool textured);
    // One pass of the surface: twice in alpha blending mode, back faces first.
    void DrawSurface(bool textured, TCullFace cull, bool alphaBlending);
    void PlainPass(TCullFace cull, bool alphaBlending);
    void DrawStage(TShaderTexture& stage, bool shaderHasLightmap, bool alphaBlending,
                   bool twoSided);
    void DrawOverlays(const TMD3& model, int frame, const TViewSwitches& sw);

    TOGL& ogl_;
    int pass_ = 0;
    bool stagesHeld_ = false;
    const TSurface* surface_ = nullptr;
    std::vector<float> positions_;
    std::vector<float> normals_;
    std::vector<std::uint32_t> safeIndices_;
    const std::uint32_t* indices_ = nullptr;
    std::size_t indexCount_ = 0;
};
