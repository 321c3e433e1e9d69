#include "render/gl/md3_drawer.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/decoded_normals.h"
#include "render/gl/ogl.h"
#include "render/gl/stage_state.h"

namespace {

TVector3 VertexPosition(const TMD3Vertex& v) {
    return {v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale};
}

void Line(TVector3 a, TVector3 b) {
    glVertex3f(a.x, a.y, a.z);
    glVertex3f(b.x, b.y, b.z);
}

}  // namespace

void TMD3Drawer::ResetTextureUnits() {
    ::ResetTextureUnits(ogl_);
}

void TMD3Drawer::PrepareSurface(const TSurface& surface, int frame) {
    surface_ = &surface;
    const std::size_t verts = static_cast<std::size_t>(std::max(surface.numVerts, 0));
    const std::size_t first = verts * static_cast<std::size_t>(frame);
    positions_.resize(verts * 3);
    normals_.resize(verts * 3);
    indices_ = nullptr;
    indexCount_ = 0;
    if (first + verts > surface.vertices.size() || surface.texCoords.size() < verts) return;
    for (std::size_t i = 0; i < verts; ++i) {
        const TMD3Vertex& v = surface.vertices[first + i];
        const TVector3 p = VertexPosition(v);
        const TVector3& n = DecodedNormal(v.normal);
        positions_[i * 3] = p.x, positions_[i * 3 + 1] = p.y, positions_[i * 3 + 2] = p.z;
        normals_[i * 3] = n.x, normals_[i * 3 + 1] = n.y, normals_[i * 3 + 2] = n.z;
    }
    // Models from files are checked when read, but edits and importers build their own;
    // a triangle that points outside the surface is left out rather than read out of bounds.
    const auto* raw = reinterpret_cast<const std::uint32_t*>(surface.triangles.data());
    const std::size_t count = std::min(surface.triangles.size(),
                                       static_cast<std::size_t>(std::max(surface.numTriangles, 0)));
    const bool allValid =
        std::all_of(raw, raw + count * 3, [verts](std::uint32_t i) { return i < verts; });
    if (allValid) {
        indices_ = raw;
        indexCount_ = count * 3;
        return;
    }
    safeIndices_.clear();
    for (std::size_t t = 0; t < count; ++t) {
        const std::uint32_t* tri = raw + t * 3;
        if (tri[0] < verts && tri[1] < verts && tri[2] < verts)
            safeIndices_.insert(safeIndices_.end(), tri, tri + 3);
    }
    indices_ = safeIndices_.data();
    indexCount_ = safeIndices_.size();
}

void TMD3Drawer::DrawSurfaceArrays(bool textured) {
    if (indexCount_ == 0) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions_.data());
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, normals_.data());
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(TMD3TexCoord), surface_->texCoords.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount_), GL_UNSIGNED_INT, indices_);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TMD3Drawer::DrawSurface(bool textured, TCullFace cull, bool alphaBlending) {
    if (alphaBlending) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // The far side first without depth writes, so the near side blends over it.
        ApplyCull(TCullFace::Front);
        glDepthMask(GL_FALSE);
        DrawSurfaceArrays(textured);
    }
    glDepthMask(GL_TRUE);
    ApplyCull(cull);
    DrawSurfaceArrays(textured);
    ++pass_;
    glDepthMask(GL_TRUE);
}

void TMD3Drawer::PlainPass(TCullFace cull, bool alphaBlending) {
    glDisable(GL_TEXTURE_2D);
    glDepthFunc(pass_ > 0 ? GL_EQUAL : GL_LESS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawSurface(false, cull, alphaBlending);
}

void TMD3Drawer::DrawStage(TShaderTexture& stage, bool shaderHasLightmap, bool alphaBlending,
                           bool twoSided) {
    ResetTextureUnits();
    DisableStageState();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    stage.passesDrawn = pass_;
    if (!stagesHeld_) AdvanceStageAnimation(stage, ogl_.FramesLastPeriod());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, pass_ > 0 ? GL_MODULATE : GL_REPLACE);
    glDepthFunc(pass_ > 0 ? GL_EQUAL : GL_LESS);

    const bool textured = stage.texture != 0;
    if (textured) {
        // Bound first: wrap modes belong to the texture object.
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, stage.texture);
        const GLint wrap = stage.clamp ? GL_CLAMP : GL_REPEAT;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
        if (stage.environment) {
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
        }
        glMatrixMode(GL_TEXTURE);
        if (stage.scrollSpeedS != 0.0f || stage.scrollSpeedT != 0.0f) {
            glTranslatef(stage.scrollOffsetS, stage.scrollOffsetT, 0.0f);
        }
        if (stage.rotationSpeed != 0.0f) glRotatef(stage.rotationAngle, 0.0f, 0.0f, 1.0f);
        glMatrixMode(GL_MODELVIEW);
        switch (stage.alphaFunc) {
            case kAlphaFuncGT0:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GREATER, 0.0f);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
                break;
            case kAlphaFuncLT128:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_LESS, 0.5f);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
                break;
            case kAlphaFuncGE128:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GEQUAL, 0.5f);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
                break;
            default:
                glAlphaFunc(GL_GREATER, 0.0f);
                glDisable(GL_ALPHA_TEST);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
                break;
        }
        if (stage.polygonOffset) {
            glDepthFunc(GL_EQUAL);
            glDepthMask(GL_FALSE);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GREATER, 0.5f);
        }
        // A stage without a blend function of its own is drawn opaque: blending with the
        // (zero, zero) it carries would paint it black.
        const bool hasBlend = stage.blendSrc != 0 || stage.blendDst != 0;
        if (!shaderHasLightmap && hasBlend) {
            glEnable(GL_BLEND);
            glBlendFunc(static_cast<GLenum>(stage.blendSrc), static_cast<GLenum>(stage.blendDst));
        }
    }
    DrawSurface(textured, StageCull(stage.cull, twoSided), alphaBlending);
}

void TMD3Drawer::DrawMD3Model(const TMD3& model, TShaders& shaders, int frame,
                              const TViewSwitches& sw) {
    const THeader& h = model.header;
    if (frame < 0 || frame >= h.numFrames) return;
    const int surfaces = std::min(h.numSurfaces, static_cast<int>(h.surfaces.size()));
    for (int si = 0; si < surfaces; ++si) {
        const TSurface& surface = h.surfaces[si];
        pass_ = 0;
        ResetTextureUnits();
        PrepareSurface(surface, frame);
        const int shaderIndex = surface.shaders.empty() ? -1 : surface.shaders[0].shaderIndex;
        const TSurfaceDrawPlan plan = PlanSurface(shaders, shaderIndex, sw.twoSided);
        if (!plan.hasShader) {
            glDisable(GL_BLEND);
            PlainPass(plan.plainCull, false);
            continue;
        }
        if (plan.basePass) {
            glDisable(GL_BLEND);
            PlainPass(plan.plainCull, false);
        }
        if (plan.lightmapPass) {
            glDisable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            PlainPass(plan.plainCull, plan.alphaBlending);
        }
        for (TShaderTexture& stage : shaders.shaders[shaderIndex].stages) {
            DrawStage(stage, plan.lightmapPass, plan.alphaBlending, sw.twoSided);
        }
        ResetTextureUnits();
    }
    surface_ = nullptr;

    glDisable(GL_LIGHTING);
    DisableStageState();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_CULL_FACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    DrawOverlays(model, frame, sw);

    ogl_.SelectTextureUnit(0);
    ResetTextureUnits();
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void TMD3Drawer::DrawOverlays(const TMD3& model, int frame, const TViewSwitches& sw) {
    const THeader& h = model.header;
    if (sw.showTags && h.numTags > 0) {
        const std::size_t first =
            static_cast<std::size_t>(frame) * static_cast<std::size_t>(h.numTags);
        const std::size_t last =
            std::min(first + static_cast<std::size_t>(h.numTags), h.tags.size());
        static const float kAxisColours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        glBegin(GL_LINES);
        for (std::size_t t = first; t < last; ++t) {
            const TMD3Tag& tag = h.tags[t];
            for (int a = 0; a < 3; ++a) {
                glColor3fv(kAxisColours[a]);
                Line(tag.origin, tag.origin + tag.axis[a] * 10.0f);
            }
        }
        glEnd();
    }
    if (sw.showNormals) {
        glColor3f(0.3f, 0.7f, 0.1f);
        glBegin(GL_LINES);
        for (const TSurface& s : h.surfaces) {
            const std::size_t verts = static_cast<std::size_t>(std::max(s.numVerts, 0));
            const std::size_t base = verts * static_cast<std::size_t>(frame);
            if (base + verts > s.vertices.size()) continue;
            for (const TMD3Triangle& tri : s.triangles) {
                TVector3 corners[3];
                TVector3 normal = kVectorZero;
                bool valid = true;
                for (int k = 0; k < 3; ++k) {
                    const auto index =
                        static_cast<std::size_t>(static_cast<std::uint32_t>(tri.indexes[k]));
                    if (index >= verts) {
                        valid = false;
                        break;
                    }
                    const TMD3Vertex& v = s.vertices[base + index];
                    corners[k] = VertexPosition(v);
                    normal = normal + DecodedNormal(v.normal);
                }
                if (!valid) continue;
                const TVector3 centre = VectorAverage(corners, 3);
                // Three times the mean of the three normals is their sum.
                Line(centre, centre + normal);
            }
        }
        glEnd();
    }
    if (sw.showTags) {
        glPointSize(4.0f);
        glColor3f(1.0f, 1.0f, 0.0f);
        glBegin(GL_POINTS);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glEnd();
    }
}
