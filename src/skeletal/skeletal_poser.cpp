#include "skeletal/skeletal_poser.h"

#include "skeletal/pose_steps.h"

using namespace pose_steps;

namespace {

// Stored angles are 16-bit and may be negated once: -32768 ... 32768.
constexpr int kAngleOffset = 32768;
constexpr std::size_t kAngleValues = 2 * kAngleOffset + 1;

}  // namespace

TSkeletalPoser::TSkeletalPoser() : sinCos_(kAngleValues), known_(kAngleValues, false) {}

TSinCos TSkeletalPoser::SinCosOf(int units) {
    const auto index = static_cast<std::size_t>(units + kAngleOffset);
    if (!known_[index]) {
        sinCos_[index] = SinCosDeg(units * kMDXAngleScale);
        known_[index] = true;
    }
    return sinCos_[index];
}

bool TSkeletalPoser::PoseBones(const TMDX& anim, std::uint32_t frame) {
    const std::optional<std::size_t> boneCount = PosableBones(anim, frame);
    posed_ = boneCount.has_value();
    if (!posed_) return false;
    if (*boneCount != matrices_.size()) {
        positions_.resize(*boneCount);
        matrices_.resize(*boneCount);
        inverses_.resize(*boneCount);
        rotationAngles_.assign(*boneCount, kNoRotation);
    }
    const auto holdsRotation = [this](std::size_t i, const TMDXBoneFrame& f) {
        const TRotationAngles angles{f.angles[0], f.angles[1], f.angles[2]};
        if (rotationAngles_[i] == angles) return true;
        rotationAngles_[i] = angles;
        return false;
    };
    pose_steps::PoseBones(
        anim, anim.frames[frame], [this](int units) { return SinCosOf(units); }, positions_.data(),
        matrices_.data(), inverses_.data(), holdsRotation);
    return true;
}

bool TSkeletalPoser::PoseFrame(TMDM& mesh, const TMDX& anim, std::uint32_t frame) {
    if (!PoseBones(anim, frame)) return false;
    TSkeletalPoseBuffers& pose = mesh.pose;
    pose.bonePositions = positions_;
    NegateZ(pose.bonePositions.data(), pose.bonePositions.size());
    pose.boneMatrices = matrices_;
    pose.inverseBoneMatrices = inverses_;
    return true;
}

void TSkeletalPoser::PoseSurfaceInto(const TMDM& mesh, std::uint32_t surface,
                                     std::vector<TVector3>& positions,
                                     std::vector<TVector3>& normals) const {
    if (!posed_) return;
    const TMDMSurface* posed = surface < mesh.surfaces.size() && surface < mesh.header.numSurfaces
                                   ? &mesh.surfaces[surface]
                                   : nullptr;
    const std::size_t verts = posed != nullptr ? posed->vertices.size() : 0;
    positions.resize(verts);
    normals.resize(verts);
    if (posed == nullptr) return;
    PoseVertices(*posed, positions_.data(), inverses_.data(), positions_.size(), positions.data(),
                 normals.data());
    NegateZ(positions.data(), verts);
    NegateZ(normals.data(), verts);
}

void TSkeletalPoser::PoseSurface(TMDM& mesh, std::uint32_t surface) const {
    PoseSurfaceInto(mesh, surface, mesh.pose.vertexPositions, mesh.pose.vertexNormals);
}

void TSkeletalPoser::PoseTagsInto(const TMDM& mesh, std::vector<TVector3>& origins,
                                  std::vector<std::array<TVector3, 3>>& axes) const {
    if (!posed_) return;
    origins.resize(mesh.tags.size());
    axes.resize(mesh.tags.size());
    pose_steps::PoseTags(mesh.tags, positions_.data(), inverses_.data(), positions_.size(),
                         origins.data(), axes.data());
    NegateZ(origins.data(), origins.size());
    NegateZ(axes.data(), axes.size());
}

void TSkeletalPoser::PoseTags(TMDM& mesh) const {
    PoseTagsInto(mesh, mesh.pose.tagOrigins, mesh.pose.tagAxes);
}
