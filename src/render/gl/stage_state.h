// GL state that both drawing paths switch per stage and must put back: texture units,
// blending, texturing, alpha test, texture coordinate generation, polygon offset, culling.
#pragma once

#include "render/md3_draw_plan.h"

class TOGL;

// Every texture unit back to plain drawing: depth test on with GL_LESS, no blending,
// texturing or alpha test (its function GL_GREATER 0), no polygon offset, replace, identity
// texture matrix; unit 0 selected at the end.
void ResetTextureUnits(TOGL& ogl);

// Nothing a stage switched on stays on in the selected unit: blending, texturing, alpha
// test, texture coordinate generation and polygon offset.
void DisableStageState();

void ApplyCull(TCullFace cull);
