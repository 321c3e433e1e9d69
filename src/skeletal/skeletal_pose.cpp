#include "skeletal/skeletal_pose.h"

#include "skeletal/pose_steps.h"

using namespace pose_steps;

bool SkeletalPose(TMDM& mesh, const TMDX& anim, std::uint32_t frame, std::uint32_t surface) {
    const std::optional<std::size_t> boneCount = PosableBones(anim, frame);
    if (!boneCount) return false;
    const TMDMSurface* posed = surface < mesh.surfaces.size() && surface < mesh.header.numSurfaces
                                   ? &mesh.surfaces[surface]
                                   : nullptr;
    const std::size_t verts = posed != nullptr ? posed->vertices.size() : 0;
    TSkeletalPoseBuffers& pose = mesh.pose;
    pose.bonePositions.resize(*boneCount);
    pose.boneMatrices.resize(*boneCount);
    pose.inverseBoneMatrices.resize(*boneCount);
    pose.vertexPositions.resize(verts);
    pose.vertexNormals.resize(verts);
    pose.tagOrigins.resize(mesh.tags.size());
    pose.tagAxes.resize(mesh.tags.size());

    PoseBones(
        anim, anim.frames[frame], [](int units) { return SinCosDeg(units * kMDXAngleScale); },
        pose.bonePositions.data(), pose.boneMatrices.data(), pose.inverseBoneMatrices.data(),
        [](std::size_t, const TMDXBoneFrame&) { return false; });
    if (posed != nullptr) {
        PoseVertices(*posed, pose.bonePositions.data(), pose.inverseBoneMatrices.data(), *boneCount,
                     pose.vertexPositions.data(), pose.vertexNormals.data());
    }
    PoseTags(mesh.tags, pose.bonePositions.data(), pose.inverseBoneMatrices.data(), *boneCount,
             pose.tagOrigins.data(), pose.tagAxes.data());

    NegateZ(pose.bonePositions.data(), pose.bonePositions.size());
    NegateZ(pose.vertexPositions.data(), pose.vertexPositions.size());
    NegateZ(pose.vertexNormals.data(), pose.vertexNormals.size());
    NegateZ(pose.tagOrigins.data(), pose.tagOrigins.size());
    NegateZ(pose.tagAxes.data(), pose.tagAxes.size());
    return true;
}
