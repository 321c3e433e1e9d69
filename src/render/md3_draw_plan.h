// The GL-free decisions behind drawing one MD3 surface: which untextured passes come before
// the shader's stages, whether the surface is drawn in alpha blending mode, how a stage
// culls, and how stage texture animation advances.
#pragma once

#include <vector>

#include "shader/q3_shaders.h"

enum class TCullFace { None, Front, Back };

struct TSurfaceDrawPlan {
    bool hasShader = false;      // the index names an entry of the store
    bool alphaBlending = false;  // draw twice, back faces first, blended by alpha
    bool basePass = true;        // an opaque white pass the stages are drawn on
    bool lightmapPass = false;   // a white pass added with the (one, one) blend function
    int plainPasses = 0;         // untextured white passes before the stages
    TCullFace plainCull = TCullFace::None;
};

// Alpha blending mode for a shader's stages: any stage with an alpha function; else a single
// stage whose texture has alpha; else every stage's texture has alpha and none is
// environment mapped. A shader without stages therefore counts as blended.
bool AlphaBlendingMode(const std::vector<TShaderTexture>& stages);

// Whether a stage adds its light to what is already drawn (an additive glow, a screen blend)
// rather than covering it or tinting the white it is drawn on.
bool AddsLightToWhatLiesBeneath(const TShaderTexture& stage);

// The plan for a surface whose first shader record names `shaderIndex` in `store`.
// Plain passes cull as the surface's own shader does, and not at all without one. A shader
// whose first stage adds light, or is blended by its alpha in the script, gets no white base
// pass: the game draws it over the scene behind the surface, so a muzzle flash glows over the
// background instead of turning white, and a half-transparent stage lets it show through.
TSurfaceDrawPlan PlanSurface(const TShaders& store, int shaderIndex, bool twoSided);

// Face culling of a stage: none when drawn two-sided or for cull values below 3.
TCullFace StageCull(int cull, bool twoSided);

// The order surfaces are drawn in, given each surface's shader index: by the shader's sort
// value (opaque, then decals, see-through, blended ...), file order among equals, so what
// blends over others is drawn after them. Surfaces without a shader sort as opaque.
std::vector<int> SurfaceDrawOrder(const TShaders& store, const std::vector<int>& shaderIndices);
