#include "render/gl/skeletal_drawer.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/gl/lod_surface_drawer.h"
#include "render/gl/ogl.h"
#include "render/gl/stage_state.h"
#include "skeletal/skeletal_orientation.h"

namespace {

void Vertex(TVector3 p) {
    glVertex3f(p.x, p.y, p.z);
}

GLint EnvironmentMode(TUnitBlend blend) {
    switch (blend) {
        case TUnitBlend::Decal:
            return GL_DECAL;
        case TUnitBlend::Modulate:
            return GL_MODULATE;
        case TUnitBlend::Replace:
            break;
    }
    return GL_REPLACE;
}

void ApplyAlphaFunction(std::uint8_t alphaFunc) {
    switch (alphaFunc) {
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
            glDisable(GL_ALPHA_TEST);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
            return;
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
}

// Texture coordinates go to a unit only when its stage draws a texture from them.
bool TakesTexCoords(const TUnitUse& use, const std::vector<TShaderTexture>* stages) {
    if (use.stage < 0 || stages == nullptr) return false;
    const TShaderTexture& stage = (*stages)[static_cast<std::size_t>(use.stage)];
    return stage.texture != 0 && !stage.environment;
}

}  // namespace

void TSkeletalDrawer::PrepareSurface(const TMDMSurface& surface, std::size_t verts) {
    texCoords_.resize(verts * 2);
    for (std::size_t i = 0; i < verts; ++i) {
        texCoords_[i * 2] = surface.vertices[i].texCoords[0];
        texCoords_[i * 2 + 1] = 1.0f - surface.vertices[i].texCoords[1];
    }
    // The reader refuses triangles outside their surface, but edits rearrange them; one that
    // points outside is left out rather than read out of bounds.
    indices_.clear();
    indices_.reserve(surface.triangles.size() * 3);
    for (const TMDMTriangle& tri : surface.triangles) {
        const auto a = static_cast<std::uint32_t>(tri.indexes[0]);
        const auto b = static_cast<std::uint32_t>(tri.indexes[1]);
        const auto c = static_cast<std::uint32_t>(tri.indexes[2]);
        if (a < verts && b < verts && c < verts) indices_.insert(indices_.end(), {a, b, c});
    }
}

void TSkeletalDrawer::SetUpUnit(const TUnitUse& use, const TShaderTexture* stage) {
    ogl_.SelectTextureUnit(use.unit);
    DisableStageState();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, EnvironmentMode(use.blend));
    if (stage == nullptr || stage->texture == 0) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, stage->texture);
    const GLint wrap = stage->clamp ? GL_CLAMP : GL_REPEAT;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    if (stage->environment) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    // Blending with the (zero, zero) of a stage without a blend function would paint it
    // black; such a stage is drawn opaque.
    if (stage->blendSrc != 0 || stage->blendDst != 0) {
        glEnable(GL_BLEND);
        glBlendFunc(static_cast<GLenum>(stage->blendSrc), static_cast<GLenum>(stage->blendDst));
    }
}

void TSkeletalDrawer::DrawBatch(const TStageBatch& batch, const std::vector<TShaderTexture>* stages,
                                const TViewSwitches& sw) {
    const TShaderTexture* last = nullptr;
    for (const TUnitUse& use : batch.units) {
        const TShaderTexture* stage = use.stage >= 0 && stages != nullptr
                                          ? &(*stages)[static_cast<std::size_t>(use.stage)]
                                          : nullptr;
        SetUpUnit(use, stage);
        if (stage != nullptr) last = stage;
    }
    // The stages of a batch that starts with the white base pass combine with it in the
    // texture units; blending that result with what the view already shows would tint the
    // surface with the background (a stage modulating the white gets GL_DST_COLOR).
    if (!batch.units.empty() && batch.units.front().stage < 0) glDisable(GL_BLEND);
    ApplyAlphaFunction(last != nullptr ? last->alphaFunc : kAlphaFuncNone);
    if (sw.lighting) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(batch.depthEqual ? GL_EQUAL : GL_LESS);
    glDepthMask(GL_TRUE);
    // A surface without a shader culls nothing, as on the MD3 path.
    ApplyCull(last != nullptr ? SkeletalStageCull(last->cull, sw.twoSided) : TCullFace::None);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    SendArrays(batch, stages);
}

void TSkeletalDrawer::SendArrays(const TStageBatch& batch,
                                 const std::vector<TShaderTexture>* stages) {
    if (indices_.empty() || pose_ == nullptr) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, pose_->vertexPositions.data());
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, pose_->vertexNormals.data());
    for (const TUnitUse& use : batch.units) {
        if (!TakesTexCoords(use, stages) || !ogl_.SelectClientTextureUnit(use.unit)) continue;
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords_.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT,
                   indices_.data());
    for (const TUnitUse& use : batch.units) {
        if (ogl_.SelectClientTextureUnit(use.unit)) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    ogl_.SelectClientTextureUnit(0);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TSkeletalDrawer::CollectNormalLines(const TMDM& mesh) {
    const std::vector<TVector3>& p = mesh.pose.vertexPositions;
    const std::vector<TVector3>& n = mesh.pose.vertexNormals;
    for (std::size_t i = 0; i + 2 < indices_.size(); i += 3) {
        const TVector3 corners[3] = {p[indices_[i]], p[indices_[i + 1]], p[indices_[i + 2]]};
        const TVector3 centre = VectorAverage(corners, 3);
        // Three times the mean of the three normals is their sum.
        normalLines_.push_back(centre);
        normalLines_.push_back(centre + n[indices_[i]] + n[indices_[i + 1]] + n[indices_[i + 2]]);
    }
}

void TSkeletalDrawer::DrawOverlays(const TMDM& mesh, const TMDX& anim, const TViewSwitches& sw) {
    const TSkeletalPoseBuffers& pose = mesh.pose;
    if (sw.showSkeleton) {
        const std::size_t bones = std::min(anim.bones.size(), pose.bonePositions.size());
        for (std::size_t b = 0; b < bones; ++b) {
            const std::int32_t parent = anim.bones[b].parent;
            const bool root = parent < 0 || static_cast<std::size_t>(parent) >= bones;
            if (!root) {
                glColor3f(1.0f, 0.5f, 0.0f);
                glBegin(GL_LINES);
                Vertex(pose.bonePositions[b]);
                Vertex(pose.bonePositions[static_cast<std::size_t>(parent)]);
                glEnd();
            }
            glPointSize(root ? 10.0f : 4.0f);
            glColor3f(1.0f, 0.9f, 0.0f);
            glBegin(GL_POINTS);
            Vertex(pose.bonePositions[b]);
            glEnd();
        }
    }
    const std::size_t tags = std::min(pose.tagOrigins.size(), pose.tagAxes.size());
    if (sw.showTags && tags > 0) {
        static const float kAxisColours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        glBegin(GL_LINES);
        for (std::size_t t = 0; t < tags; ++t) {
            for (int a = 0; a < 3; ++a) {
                glColor3fv(kAxisColours[a]);
                Vertex(pose.tagOrigins[t]);
                Vertex(pose.tagOrigins[t] + pose.tagAxes[t][static_cast<std::size_t>(a)] * 10.0f);
            }
        }
        glEnd();
    }
    if (sw.showNormals && !normalLines_.empty()) {
        glColor3f(0.3f, 0.7f, 0.1f);
        glBegin(GL_LINES);
        for (const TVector3& end : normalLines_)
            Vertex(end);
        glEnd();
    }
}

void TSkeletalDrawer::DrawSkeletalModel(TMDM& mesh, const TMDX& anim, TShaders& shaders, int frame,
                                        const TViewSwitches& sw) {
    if (frame < 0 || !poser_.PoseFrame(mesh, anim, static_cast<std::uint32_t>(frame))) return;
    glPushMatrix();
    glMultMatrixf(GameFromPoseMatrix().e);
    if (sw.lodEnabled) {
        // The reduced surfaces alone: no stage, skeleton, tag or normal overlay.
        ResetTextureUnits(ogl_);
        DrawLodSurfaces(mesh, poser_);
        glPopMatrix();
        glEnable(GL_CULL_FACE);
        return;
    }
    // A posed normal is a weighted sum of the bones' turned normals, not a unit vector.
    glEnable(GL_NORMALIZE);
    normalLines_.clear();
    pose_ = &mesh.pose;
    for (std::uint32_t s = 0; mesh.ValidSurface(static_cast<int>(s)); ++s) {
        const TMDMSurface& surface = mesh.surfaces[s];
        ResetTextureUnits(ogl_);
        poser_.PoseSurface(mesh, s);
        PrepareSurface(surface, mesh.pose.vertexPositions.size());
        const TSkeletalSurfacePlan plan =
            PlanSkeletalSurface(shaders, surface.shaderIndex, ogl_.MaxTextureUnits());
        const std::vector<TShaderTexture>* stages =
            plan.hasShader ? &shaders.shaders[static_cast<std::size_t>(surface.shaderIndex)].stages
                           : nullptr;
        for (const TStageBatch& batch : plan.batches) {
            DrawBatch(batch, stages, sw);
            ResetTextureUnits(ogl_);
        }
        if (sw.showNormals) CollectNormalLines(mesh);
    }
    pose_ = nullptr;
    glDisable(GL_NORMALIZE);

    glDisable(GL_LIGHTING);
    DisableStageState();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_CULL_FACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    poser_.PoseTags(mesh);
    DrawOverlays(mesh, anim, sw);
    glPopMatrix();

    ResetTextureUnits(ogl_);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
