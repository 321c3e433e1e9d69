// TSkeletalPoser: the pose for drawing, LOD and export. A frame's bones are computed once and
// shared by every surface and the tags of that frame, and the sine and cosine of each stored
// angle are computed once per poser, while the results stay bit-identical to SkeletalPose:
// after PoseFrame(mesh, anim, f), PoseSurface(mesh, s) and PoseTags(mesh), mesh.pose holds
// exactly what SkeletalPose(mesh, anim, f, s) would have written.
//
// Typical use, once per drawn or exported frame:
//     if (poser.PoseFrame(mesh, anim, frame)) {
//         poser.PoseTags(mesh);
//         for (each surface s) { poser.PoseSurface(mesh, s); use mesh.pose.vertexPositions; }
//     }
// The poser keeps its own copy of the bones, so SkeletalPose calls in between (the normal
// edits) do not disturb it; a change to the animation needs a new PoseFrame.
//
// PoseBones and the Into functions leave the mesh alone and write into the caller's buffers,
// so that posers on several threads can share one mesh (the bake).
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "math/scalar.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

class TSkeletalPoser {
  public:
    TSkeletalPoser();

    // Computes the bones of `frame` and writes them to mesh.pose (bone positions in pose
    // coordinates, matrices, inverses). A frame outside the animation gives false and leaves
    // the poser without a frame: PoseSurface and PoseTags then do nothing.
    bool PoseFrame(TMDM& mesh, const TMDX& anim, std::uint32_t frame);
    // The same without writing the bones anywhere but into the poser.
    bool PoseBones(const TMDX& anim, std::uint32_t frame);

    // The vertices and normals of one surface at the frame of the last PoseFrame; an index
    // outside the mesh leaves them empty.
    void PoseSurface(TMDM& mesh, std::uint32_t surface) const;
    void PoseSurfaceInto(const TMDM& mesh, std::uint32_t surface, std::vector<TVector3>& positions,
                         std::vector<TVector3>& normals) const;

    // The origins and axes of every tag at the frame of the last PoseFrame.
    void PoseTags(TMDM& mesh) const;
    void PoseTagsInto(const TMDM& mesh, std::vector<TVector3>& origins,
                      std::vector<std::array<TVector3, 3>>& axes) const;

    bool HasFrame() const { return posed_; }

  private:
    // Sine and cosine of units * 360/65536 degrees, units in [-32768, 32768].
    TSinCos SinCosOf(int units);

    std::vector<TSinCos> sinCos_;
    std::vector<bool> known_;
    // The bones before the final z negation, which the vertices are built from.
    std::vector<TVector3> positions_;
    std::vector<TMatrix4> matrices_;
    std::vector<TMatrix4> inverses_;
    // The angles each bone's matrices were built from: most bones of an animation keep still
    // for many frames (fingers, toes), and their matrices and inverses are then kept.
    using TRotationAngles = std::array<std::int32_t, 3>;
    static constexpr TRotationAngles kNoRotation{INT32_MAX, INT32_MAX, INT32_MAX};
    std::vector<TRotationAngles> rotationAngles_;
    bool posed_ = false;
};
