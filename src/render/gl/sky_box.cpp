#include "render/gl/sky_box.h"

#include <GL/gl.h>

#include "render/camera.h"
#include "render/gl/ogl.h"

namespace {
// Came with OpenGL 1.2; spelled out because an OpenGL 1.1 header lacks it.
constexpr GLint kClampToEdge = 0x812F;
}  // namespace

bool TSkyBox::LoadSkyBox(const std::string& base) {
    if (!owner_.IsReady()) return false;
    DeleteList();
    FreeFaces();
    names_ = SkyBoxFaceNames(base);

    const TTextureHooks& hooks = owner_.TextureHooks();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        textures_[i] = hooks.loadWithGamma ? hooks.loadWithGamma(names_[i], 1.0f) : 0;
        if (textures_[i] == 0) {
            FreeFaces();
            shown_ = false;
            return false;
        }
    }
    if (!CompileList()) {
        FreeFaces();
        shown_ = false;
        return false;
    }
    return true;
}

bool TSkyBox::CompileList() {
    list_ = glGenLists(1);
    if (list_ == 0) return false;
    glNewList(list_, GL_COMPILE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const TSkyQuad& quad : kSkyBoxQuads) {
        const GLuint texture = textures_[Index(quad.face)];
        glBindTexture(GL_TEXTURE_2D, texture);
        if (texture != 0) {
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
            // Clamped edges keep the faces from bleeding into each other at the seams.
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClampToEdge);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
        }
        glBegin(GL_QUADS);
        if (texture != 0) glNormal3f(quad.normal.x, quad.normal.y, quad.normal.z);
        for (const TSkyCornerRef& ref : quad.corners) {
            if (texture != 0) glTexCoord2f(ref.s, ref.t);
            const TVector3& p = kSkyBoxCorners[static_cast<std::size_t>(ref.corner)];
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    glEndList();
    return true;
}

void TSkyBox::DrawSkyBox(const TCamera& camera) {
    if (!shown_) return;
    glPushMatrix();
    glTranslatef(camera.position.x, camera.position.y, camera.position.z);
    if (list_ != 0) glCallList(list_);
    glPopMatrix();
}

void TSkyBox::FreeSkyBox() {
    if (!owner_.IsReady()) {
        Forget();
        return;
    }
    DeleteList();
    FreeFaces();
}

void TSkyBox::Forget() {
    list_ = 0;
    textures_.fill(0);
    for (std::string& name : names_)
        name.clear();
}

void TSkyBox::DeleteList() {
    if (list_ != 0) glDeleteLists(list_, 1);
    list_ = 0;
}

void TSkyBox::FreeFaces() {
    const TTextureHooks& hooks = owner_.TextureHooks();
    for (std::uint32_t& texture : textures_) {
        if (texture != 0) {
            if (hooks.deleteTexture) {
                hooks.deleteTexture(texture);
            } else {
                const GLuint name = texture;
                glDeleteTextures(1, &name);
            }
        }
        texture = 0;
    }
    for (std::string& name : names_)
        name.clear();
}
