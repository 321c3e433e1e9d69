#include "render/skeletal_view.h"

#include <algorithm>

#include "skeletal/skeletal_orientation.h"

namespace {

bool PoseAt(TMDM& mesh, const TMDX& anim, int frame, TSkeletalPoser& poser) {
    return frame >= 0 && poser.PoseFrame(mesh, anim, static_cast<std::uint32_t>(frame));
}

}  // namespace

std::vector<TVector3> SkeletalFrameVertexPositions(TMDM& mesh, const TMDX& anim, int frame,
                                                   TSkeletalPoser& poser) {
    std::vector<TVector3> points;
    if (!PoseAt(mesh, anim, frame, poser)) return points;
    for (std::uint32_t s = 0; mesh.ValidSurface(static_cast<int>(s)); ++s) {
        poser.PoseSurface(mesh, s);
        for (const TVector3& posed : mesh.pose.vertexPositions)
            points.push_back(GameFromPose(posed));
    }
    return points;
}

std::optional<TBounds> SkeletalFrameBounds(TMDM& mesh, const TMDX& anim, int frame,
                                           TSkeletalPoser& poser) {
    if (frame < 0 || static_cast<std::size_t>(frame) >= anim.frames.size()) return std::nullopt;
    const std::vector<TVector3> points = SkeletalFrameVertexPositions(mesh, anim, frame, poser);
    const TMDXFrame& stored = anim.frames[static_cast<std::size_t>(frame)];
    if (points.empty()) return TBounds{stored.minBounds, stored.maxBounds};
    constexpr float kHuge = 3.4e38f;
    TBounds box{{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}};
    for (const TVector3& p : points) {
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
    }
    return box;
}

std::optional<TVector3> SkeletalTagOrigin(TMDM& mesh, const TMDX& anim, int frame, int tag,
                                          TSkeletalPoser& poser) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= mesh.tags.size()) return std::nullopt;
    if (!PoseAt(mesh, anim, frame, poser)) return std::nullopt;
    poser.PoseTags(mesh);
    return GameFromPose(mesh.pose.tagOrigins[static_cast<std::size_t>(tag)]);
}
