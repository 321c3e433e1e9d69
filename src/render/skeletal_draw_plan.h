// The GL-free decisions behind drawing one skeletal surface: whether a white base pass comes
// first, and how the shader's stages share the texture units. Stages are batched over as
// many units as the context offers, so a surface with up to that many stages (the base pass
// counting as one) is sent once per frame.
#pragma once

#include <vector>

#include "render/md3_draw_plan.h"
#include "shader/q3_shaders.h"

// How a unit combines its texture with what the units before it produced.
enum class TUnitBlend { Replace, Decal, Modulate };

// One texture unit of a batch. The base pass has no stage (-1) and no texture.
struct TUnitUse {
    int unit = 0;
    int stage = -1;
    TUnitBlend blend = TUnitBlend::Replace;
};

// The units drawn together with one draw of the surface.
struct TStageBatch {
    std::vector<TUnitUse> units;
    // Later batches lie on the depth the first one wrote.
    bool depthEqual = false;
};

struct TSkeletalSurfacePlan {
    bool hasShader = false;  // the index names an entry of the store
    bool basePass = true;    // unit 0 of the first batch is a white, untextured pass
    std::vector<TStageBatch> batches;
};

// The plan for a surface whose shader is entry `shaderIndex` of `store`, drawn with
// `textureUnits` units (at least one is always used). The base pass is left out when a
// stage both tests alpha and has a texture with alpha (the white would show through its
// cut-outs), and when the first stage adds light (a glow over white is white).
TSkeletalSurfacePlan PlanSkeletalSurface(const TShaders& store, int shaderIndex, int textureUnits);

// Face culling of a skeletal stage: front faces for cull 3, back faces for cull 4, none when
// drawn two-sided or for any other value.
TCullFace SkeletalStageCull(int cull, bool twoSided);
