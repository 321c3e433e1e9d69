#include "render/gl/stage_state.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/gl/ogl.h"

void ResetTextureUnits(TOGL& ogl) {
    const int units = std::max(1, ogl.MaxTextureUnits());
    for (int unit = 0; unit < units; ++unit) {
        if (!ogl.SelectTextureUnit(unit)) break;
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
    ogl.SelectTextureUnit(0);
}

void DisableStageState() {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void ApplyCull(TCullFace cull) {
    if (cull == TCullFace::None) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glCullFace(cull == TCullFace::Front ? GL_FRONT : GL_BACK);
}
