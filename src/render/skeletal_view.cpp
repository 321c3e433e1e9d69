#include "render/skeletal_view.h"

#include <algorithm>

#include "assets/archive_names.h"
#include "md3/md3.h"
#include "skeletal/skeletal_orientation.h"

namespace {

bool PoseAt(TMDM& mesh, const TMDX& anim, int frame, TSkeletalPoser& poser) {
    return frame >= 0 && poser.PoseFrame(mesh, anim, static_cast<std::uint32_t>(frame));
}

// The posed tag in the game's coordinates; the pose must hold the tags.
TOrientation PosedTag(const TMDM& mesh, std::size_t tag) {
    TOrientation o;
    o.origin = GameFromPose(mesh.pose.tagOrigins[tag]);
    for (std::size_t i = 0; i < 3; ++i)
        o.axis[i] = GameFromPose(mesh.pose.tagAxes[tag][i]);
    return o;
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
    for (const TVector3& p : points)
        Enclose(box, p);
    return box;
}

std::optional<TVector3> SkeletalTagOrigin(TMDM& mesh, const TMDX& anim, int frame, int tag,
                                          TSkeletalPoser& poser) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= mesh.tags.size()) return std::nullopt;
    if (!PoseAt(mesh, anim, frame, poser)) return std::nullopt;
    poser.PoseTags(mesh);
    return GameFromPose(mesh.pose.tagOrigins[static_cast<std::size_t>(tag)]);
}

std::optional<TOrientation> SkeletalTagOrientation(TMDM& mesh, const TMDX& anim, int frame, int tag,
                                                   TSkeletalPoser& poser) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= mesh.tags.size()) return std::nullopt;
    if (!PoseAt(mesh, anim, frame, poser)) return std::nullopt;
    poser.PoseTags(mesh);
    return PosedTag(mesh, static_cast<std::size_t>(tag));
}

std::vector<std::optional<TOrientation>> PlaceOnPosedBody(const TAttachedModels& models, TMDM& mesh,
                                                          const TMDX& anim, int frame,
                                                          TSkeletalPoser& poser) {
    const bool posed = PoseAt(mesh, anim, frame, poser);
    if (posed) poser.PoseTags(mesh);
    return PlaceAttachedModels(models, [&](const std::string& name) -> std::optional<TOrientation> {
        if (!posed) return std::nullopt;
        const std::string wanted = LowerCaseAscii(name);
        for (std::size_t t = 0; t < mesh.tags.size() && t < mesh.pose.tagOrigins.size(); ++t) {
            if (LowerCaseAscii(NameFieldText(mesh.tags[t].name)) == wanted)
                return PosedTag(mesh, t);
        }
        return std::nullopt;
    });
}
