// Draws a skeletal model: the MDM mesh posed by its MDX animation at the current frame, each
// surface with its shader's stages batched over the texture units, then the skeleton, tag
// and normal overlays on top. The pose comes out turned 180 degrees about X from the game's
// coordinates; the drawing turns it back, so a player stands beside MD3 models as in the
// game.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "shader/q3_shaders.h"
#include "render/scene_settings.h"
#include "render/skeletal_draw_plan.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/skeletal_poser.h"

class TOGL;

class TSkeletalDrawer {
  public:
    explicit TSkeletalDrawer(TOGL& ogl) : ogl_(ogl) {}

    // Draws frame `frame` (nothing for a frame the animation does not have). The mesh's pose
    // buffers hold the frame afterwards.
    void DrawSkeletalModel(TMDM& mesh, const TMDX& anim, TShaders& shaders, int frame,
                           const TViewSwitches& sw);

    // The poser the drawing uses; the view borrows it to find the pivot tag.
    TSkeletalPoser& Poser() { return poser_; }

  private:
    // Texture coordinates and the triangles that are safe to draw (indices inside the
    // surface) of the surface whose pose is in the buffers.
    void PrepareSurface(const TMDMSurface& surface, std::size_t verts);
    void SetUpUnit(const TUnitUse& use, const TShaderTexture* stage);
    void DrawBatch(const TStageBatch& batch, const std::vector<TShaderTexture>* stages,
                   const TViewSwitches& sw);
    void SendArrays(const TStageBatch& batch, const std::vector<TShaderTexture>* stages);
    void CollectNormalLines(const TMDM& mesh);
    void DrawOverlays(const TMDM& mesh, const TMDX& anim, const TViewSwitches& sw);

    TOGL& ogl_;
    TSkeletalPoser poser_;
    std::vector<float> texCoords_;
    std::vector<std::uint32_t> indices_;
    std::vector<TVector3> normalLines_;           // pairs of line ends
    const TSkeletalPoseBuffers* pose_ = nullptr;  // the surface being drawn
};
