#include "render/gl/md3_drawer.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>

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

void TMD3Drawer::PrepareSurface(const TSurface& surface, int frame,
                                const std::vector<TDeform>* deforms) {
    const std::size_t verts = static_cast<std::size_t>(std::max(surface.numVerts, 0));
    const std::size_t first = verts * static_cast<std::size_t>(frame);
    TSurfaceVertices& v = vertices_;
    v.positions.clear();
    v.normals.clear();
    v.texCoords.clear();
    v.indices.clear();
    if (first + verts > surface.vertices.size() || surface.texCoords.size() < verts) return;
    v.positions.resize(verts * 3);
    v.normals.resize(verts * 3);
    v.texCoords.resize(verts * 2);
    for (std::size_t i = 0; i < verts; ++i) {
        const TMD3Vertex& mv = surface.vertices[first + i];
        const TVector3 p = VertexPosition(mv);
        const TVector3& n = DecodedNormal(mv.normal);
        v.positions[i * 3] = p.x, v.positions[i * 3 + 1] = p.y, v.positions[i * 3 + 2] = p.z;
        v.normals[i * 3] = n.x, v.normals[i * 3 + 1] = n.y, v.normals[i * 3 + 2] = n.z;
        v.texCoords[i * 2] = surface.texCoords[i].s;
        v.texCoords[i * 2 + 1] = surface.texCoords[i].t;
    }
    // Models from files are checked when read, but edits and importers build their own;
    // a triangle that points outside the surface is left out rather than read out of bounds.
    const auto* raw = reinterpret_cast<const std::uint32_t*>(surface.triangles.data());
    const std::size_t count = std::min(surface.triangles.size(),
                                       static_cast<std::size_t>(std::max(surface.numTriangles, 0)));
    v.indices.reserve(count * 3);
    for (std::size_t t = 0; t < count; ++t) {
        const std::uint32_t* tri = raw + t * 3;
        if (tri[0] < verts && tri[1] < verts && tri[2] < verts)
            v.indices.insert(v.indices.end(), tri, tri + 3);
    }
    if (deforms != nullptr) ApplyDeforms(*deforms, view_, v);
}

void TMD3Drawer::DrawSurfaceArrays(bool textured, bool coloured) {
    if (vertices_.indices.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices_.positions.data());
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, vertices_.normals.data());
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, stageTexCoords_);
    }
    if (coloured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours_.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(vertices_.indices.size()), GL_UNSIGNED_INT,
                   vertices_.indices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // the colour array leaves its last colour behind
}

void TMD3Drawer::DrawSurface(bool textured, bool coloured, TCullFace cull, bool alphaBlending,
                             bool depthWrite) {
    if (polygonOffset_) {
        // The game's own offset for decals, so they win over the surface they lie on.
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(-1.0f, -2.0f);
    }
    if (alphaBlending) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // The far side first without depth writes, so the near side blends over it.
        ApplyCull(TCullFace::Front);
        glDepthMask(GL_FALSE);
        DrawSurfaceArrays(textured, coloured);
    }
    glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
    ApplyCull(cull);
    DrawSurfaceArrays(textured, coloured);
    ++pass_;
    glDepthMask(GL_TRUE);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void TMD3Drawer::PlainPass(TCullFace cull, bool alphaBlending) {
    // A shader that lights itself (lightingDiffuse) is drawn over plain white, or the
    // view's light would shade it twice.
    if (selfLit_) glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDepthFunc(pass_ > 0 ? GL_EQUAL : GL_LESS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawSurface(false, false, cull, alphaBlending, true);
    if (lightingOn_) glEnable(GL_LIGHTING);
}

namespace {

// Colours the view's lighting may shade as before: white and opaque whatever the time.
bool NeutralColours(const TStageEffects& fx) {
    switch (fx.rgbGen) {
        case TRgbGen::Const:
        case TRgbGen::Wave:
        case TRgbGen::OneMinusVertex:
        case TRgbGen::LightingDiffuse:
            return false;
        default:
            break;
    }
    switch (fx.alphaGen) {
        case TAlphaGen::Const:
        case TAlphaGen::Wave:
        case TAlphaGen::OneMinusVertex:
        case TAlphaGen::LightingSpecular:
        case TAlphaGen::Portal:
            return false;
        default:
            return true;
    }
}

std::uint32_t FrameTexture(const TShaderTexture& stage, double time) {
    const TStageEffects& fx = stage.effects;
    if (fx.animFrameTextures.size() < 2) return stage.texture;
    const auto frame = static_cast<std::size_t>(AnimMapFrame(fx, time));
    const std::uint32_t texture =
        frame < fx.animFrameTextures.size() ? fx.animFrameTextures[frame] : 0;
    return texture != 0 ? texture : stage.texture;
}

// The 3-by-3 inverse of a column-major GL matrix's rotation part; identity when singular.
std::array<float, 9> InverseRotation(const GLfloat* m) {
    const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6],
                i = m[10];
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (std::fabs(det) < 1e-12f) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const float k = 1.0f / det;
    return {(e * i - f * h) * k, (c * h - b * i) * k, (b * f - c * e) * k,
            (f * g - d * i) * k, (a * i - c * g) * k, (c * d - a * f) * k,
            (d * h - e * g) * k, (b * g - a * h) * k, (a * e - b * d) * k};
}

TVector3 Apply(const std::array<float, 9>& r, TVector3 v) {
    return {r[0] * v.x + r[1] * v.y + r[2] * v.z, r[3] * v.x + r[4] * v.y + r[5] * v.z,
            r[6] * v.x + r[7] * v.y + r[8] * v.z};
}

}  // namespace

void TMD3Drawer::CaptureView() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const std::array<float, 9> inverse = InverseRotation(m);
    const TVector3 translation{m[12], m[13], m[14]};
    view_.time = shaderTime_;
    view_.eye = Apply(inverse, -translation);
    view_.viewForward = VectorNormalize(Apply(inverse, {0.0f, 0.0f, -1.0f}));
    view_.viewLeft = VectorNormalize(Apply(inverse, {-1.0f, 0.0f, 0.0f}));
    view_.viewUp = VectorNormalize(Apply(inverse, {0.0f, 1.0f, 0.0f}));
    // The view's main light sits high above the camera (see the scene's lights).
    const TVector3 lightInEye{0.0f, 6000.0f, 0.0f};
    view_.lightDirection = VectorNormalize(Apply(inverse, lightInEye - translation));
}

void TMD3Drawer::DrawStage(TShaderTexture& stage, bool shaderHasLightmap, bool alphaBlending,
                           bool twoSided) {
    ResetTextureUnits();
    DisableStageState();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    stage.passesDrawn = pass_;
    const TStageEffects& fx = stage.effects;
    glDepthFunc(pass_ > 0 || fx.depthFunc == TDepthFunc::Equal ? GL_EQUAL : GL_LESS);
    // The view's lighting shades stages drawn over the lit base as before; a stage with
    // colours of its own shows them, and a lightingDiffuse stage brings its own light.
    const bool lit =
        lightingOn_ && pass_ > 0 && stage.alphaFunc == kAlphaFuncNone && NeutralColours(fx);
    if (lit) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
        EvaluateStageColours(fx, vertices_, view_, colours_);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    const std::uint32_t texture = FrameTexture(stage, shaderTime_);
    const bool textured = texture != 0;
    if (textured) {
        // The file's own coordinates need no copy.
        if (fx.tcGen == TTcGen::Base && fx.tcMods.empty()) {
            stageTexCoords_ = vertices_.texCoords.data();
        } else {
            EvaluateStageTexCoords(fx, vertices_, view_, texCoords_);
            stageTexCoords_ = texCoords_.data();
        }
        // Bound first: wrap modes belong to the texture object.
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        const GLint wrap = stage.clamp ? GL_CLAMP : GL_REPEAT;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
        switch (stage.alphaFunc) {
            case kAlphaFuncGT0:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GREATER, 0.0f);
                break;
            case kAlphaFuncLT128:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_LESS, 0.5f);
                break;
            case kAlphaFuncGE128:
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GEQUAL, 0.5f);
                break;
            default:
                glAlphaFunc(GL_GREATER, 0.0f);
                glDisable(GL_ALPHA_TEST);
                break;
        }
        // A stage without a blend function of its own is drawn opaque: blending with the
        // (zero, zero) it carries would paint it black.
        const bool hasBlend = stage.blendSrc != 0 || stage.blendDst != 0;
        if (!shaderHasLightmap && hasBlend) {
            glEnable(GL_BLEND);
            glBlendFunc(static_cast<GLenum>(stage.blendSrc), static_cast<GLenum>(stage.blendDst));
        }
    }
    DrawSurface(textured, !lit, StageCull(stage.cull, twoSided), alphaBlending, fx.depthWrite);
    if (lightingOn_) glEnable(GL_LIGHTING);
}

void TMD3Drawer::DrawMD3Model(const TMD3& model, TShaders& shaders, int frame,
                              const TViewSwitches& sw) {
    const THeader& h = model.header;
    if (frame < 0 || frame >= h.numFrames) return;
    const int surfaces = std::min(h.numSurfaces, static_cast<int>(h.surfaces.size()));
    lightingOn_ = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    CaptureView();
    std::vector<int> shaderIndices(static_cast<std::size_t>(std::max(surfaces, 0)), -1);
    for (int si = 0; si < surfaces; ++si) {
        const TSurface& surface = h.surfaces[si];
        if (!surface.shaders.empty()) shaderIndices[si] = surface.shaders[0].shaderIndex;
    }
    for (const int si : SurfaceDrawOrder(shaders, shaderIndices)) {
        const TSurface& surface = h.surfaces[si];
        pass_ = 0;
        ResetTextureUnits();
        const int shaderIndex = shaderIndices[si];
        const TSurfaceDrawPlan plan = PlanSurface(shaders, shaderIndex, sw.twoSided);
        std::vector<TShaderTexture>* stages =
            plan.hasShader ? &shaders.shaders[shaderIndex].stages : nullptr;
        const bool hasStages = stages != nullptr && !stages->empty();
        PrepareSurface(surface, frame, hasStages ? &stages->front().deforms : nullptr);
        polygonOffset_ = hasStages && stages->front().polygonOffset;
        selfLit_ = hasStages && stages->front().effects.rgbGen == TRgbGen::LightingDiffuse;
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
        for (TShaderTexture& stage : *stages) {
            DrawStage(stage, plan.lightmapPass, plan.alphaBlending, sw.twoSided);
        }
        ResetTextureUnits();
    }
    polygonOffset_ = false;
    selfLit_ = false;

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
