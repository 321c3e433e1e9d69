// The steps of the skeletal pose, shared by SkeletalPose and TSkeletalPoser so that both give
// bit-identical results. Only skeletal_pose.cpp and skeletal_poser.cpp use this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "math/matrix.h"
#include "skeletal/bone_offset_direction.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

namespace pose_steps {

// The number of bones a pose of `frame` uses, or nothing when the frame is not in the
// animation or does not hold one bone frame per bone.
inline std::optional<std::size_t> PosableBones(const TMDX& anim, std::uint32_t frame) {
    if (frame >= anim.frames.size() || frame >= anim.header.numFrames) return std::nullopt;
    if (anim.frames[frame].boneFrames.size() != anim.bones.size()) return std::nullopt;
    return anim.bones.size();
}

inline TVector3 MirrorY(TVector3 v) {
    return {v.x, -v.y, v.z};
}

// The bones of one frame, before the final z negation. `sinCos(units)` gives the sine and
// cosine of units * 360/65536 degrees. Positions are the game's bone positions mirrored in y,
// like every other input vector: a root at the frame's parent offset, where the game puts it
// (so crouching and prone frames lower the body), and every other bone parentDist along its
// offset direction from its parent.
// `holdsRotation(i, boneFrame)` says whether matrices[i] and inverses[i] already hold the
// rotation of that bone frame (a rotation depends on the three angles alone), so that a bone
// that keeps still costs no matrix work.
template <typename SinCosOfUnits, typename HoldsRotation>
void PoseBones(const TMDX& anim, const TMDXFrame& frame, SinCosOfUnits&& sinCos,
               TVector3* positions, TMatrix4* matrices, TMatrix4* inverses,
               HoldsRotation&& holdsRotation) {
    for (std::size_t i = 0; i < anim.bones.size(); ++i) {
        const TMDXBoneInfo& bone = anim.bones[i];
        const TMDXBoneFrame& f = frame.boneFrames[i];
        const std::int32_t parent = bone.parent;
        if (parent < 0 || static_cast<std::size_t>(parent) >= i) {
            positions[i] = MirrorY(frame.parentOffset);
        } else {
            const TVector3 direction = BoneOffsetDirection(f.ofsAngles[0], f.ofsAngles[1]);
            positions[i] =
                VectorAdd(positions[parent], MirrorY(VectorScale(direction, bone.parentDist)));
        }
        if (holdsRotation(i, f)) continue;
        matrices[i] = MatrixMultiply(MatrixMultiply(MatrixRotationX(sinCos(f.angles[2])),
                                                    MatrixRotationY(sinCos(-f.angles[0]))),
                                     MatrixRotationZ(sinCos(f.angles[1])));
        inverses[i] = matrices[i];
        MatrixInvert(inverses[i]);
    }
}

// Four floats handled at once; x, y and z of a vector in the first three lanes. Each lane does
// exactly the multiplications and additions, in the same order, that MatrixTransformPoint,
// VectorAdd and VectorScale do for its coordinate, so the results are the same bits (the
// posers and bakes promise that), only computed side by side.
using TFourFloats = float __attribute__((vector_size(16)));

inline TFourFloats MatrixRow(const TMatrix4& m, int row) {
    TFourFloats r;
    std::memcpy(&r, &m.e[row * 4], sizeof r);
    return r;
}

inline TFourFloats Lanes(TVector3 v) {
    return TFourFloats{v.x, v.y, v.z, 0.0f};
}

// Posed positions and normals of a surface's vertices, before the final z negation: the
// inner loop of drawing and baking.
inline void PoseVertices(const TMDMSurface& surface, const TVector3* bonePositions,
                         const TMatrix4* inverses, std::size_t boneCount, TVector3* positions,
                         TVector3* normals) {
    for (std::size_t v = 0; v < surface.vertices.size(); ++v) {
        const TMDMVertex& vertex = surface.vertices[v];
        const TVector3 normal = MirrorY(vertex.normal);
        TFourFloats position{};
        TFourFloats sum{};
        for (const TMDMWeight& w : vertex.weights) {
            const auto b = static_cast<std::uint32_t>(w.boneIndex);
            if (b >= boneCount) continue;
            const TMatrix4& inverse = inverses[b];
            const TFourFloats r0 = MatrixRow(inverse, 0), r1 = MatrixRow(inverse, 1),
                              r2 = MatrixRow(inverse, 2), r3 = MatrixRow(inverse, 3);
            const TVector3 offset = MirrorY(w.offset);
            const TFourFloats turned = offset.x * r0 + offset.y * r1 + offset.z * r2 + r3;
            position = position + (turned + Lanes(bonePositions[b])) * w.boneWeight;
            const TFourFloats turnedNormal = normal.x * r0 + normal.y * r1 + normal.z * r2 + r3;
            sum = sum + turnedNormal * w.boneWeight;
        }
        positions[v] = {position[0], position[1], position[2]};
        normals[v] = {sum[0], sum[1], sum[2]};
    }
}

// Posed origins and axes of the tags, before the final z negation.
inline void PoseTags(const std::vector<TMDMTag>& tags, const TVector3* bonePositions,
                     const TMatrix4* inverses, std::size_t boneCount, TVector3* origins,
                     std::array<TVector3, 3>* axes) {
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const TMDMTag& tag = tags[t];
        const auto b = static_cast<std::uint32_t>(tag.boneIndex);
        if (b >= boneCount) {
            origins[t] = kVectorZero;
            axes[t] = {};
            continue;
        }
        const TMatrix4& inverse = inverses[b];
        origins[t] =
            VectorAdd(MatrixTransformPoint(MirrorY(tag.offset), inverse), bonePositions[b]);
        // The axes get the same y mirror as every other input vector. Without it the posed
        // frame is a reflection of the bone's (determinant -1), and a head or weapon attached
        // to an exported tag would face backwards, mirrored.
        for (int k = 0; k < 3; ++k)
            axes[t][k] = MatrixTransformPoint(MirrorY(tag.axis[k]), inverse);
    }
}

inline void NegateZ(TVector3* v, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        v[i].z = -v[i].z;
}

inline void NegateZ(std::array<TVector3, 3>* axes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        for (TVector3& row : axes[i])
            row.z = -row.z;
    }
}

}  // namespace pose_steps
