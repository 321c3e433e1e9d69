#include "skeletal/game_bone.h"

#include "math/scalar.h"

namespace {

TSinCos Angle(std::int16_t units) {
    return SinCosDeg(units * kMDXAngleScale);
}

TVector3 OffsetDirection(const TMDXBoneFrame& frame) {
    const TSinCos p = Angle(frame.ofsAngles[0]);
    const TSinCos y = Angle(frame.ofsAngles[1]);
    return {p.cos * y.cos, p.cos * y.sin, -p.sin};
}

}  // namespace

std::array<TVector3, 3> GameBoneAxis(const TMDXBoneFrame& frame) {
    const TSinCos p = Angle(frame.angles[0]);
    const TSinCos y = Angle(frame.angles[1]);
    const TSinCos r = Angle(frame.angles[2]);
    return {{{p.cos * y.cos, p.cos * y.sin, -p.sin},
             {r.sin * p.sin * y.cos - r.cos * y.sin, r.sin * p.sin * y.sin + r.cos * y.cos,
              r.sin * p.cos},
             {r.cos * p.sin * y.cos + r.sin * y.sin, r.cos * p.sin * y.sin - r.sin * y.cos,
              r.cos * p.cos}}};
}

std::vector<TGameBone> GameBonesOfFrame(const std::vector<TMDXBoneInfo>& bones,
                                        const TMDXFrame& frame) {
    enum class State : std::uint8_t { Open, Busy, Done };
    std::vector<TGameBone> result(bones.size());
    std::vector<State> state(bones.size(), State::Open);
    std::vector<std::size_t> chain;
    for (std::size_t start = 0; start < bones.size(); ++start) {
        // Collect the bone and its unplaced ancestors, then place them from the top down.
        chain.clear();
        for (std::size_t b = start; state[b] == State::Open;) {
            state[b] = State::Busy;
            chain.push_back(b);
            const std::int32_t parent = bones[b].parent;
            if (parent < 0 || static_cast<std::size_t>(parent) >= bones.size()) break;
            b = static_cast<std::size_t>(parent);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const std::size_t b = *it;
            const TMDXBoneFrame bf =
                b < frame.boneFrames.size() ? frame.boneFrames[b] : TMDXBoneFrame{};
            TGameBone& bone = result[b];
            bone.axis = GameBoneAxis(bf);
            const std::int32_t parent = bones[b].parent;
            const bool placedParent = parent >= 0 &&
                                      static_cast<std::size_t>(parent) < bones.size() &&
                                      state[static_cast<std::size_t>(parent)] == State::Done;
            bone.origin = placedParent
                              ? VectorAdd(result[static_cast<std::size_t>(parent)].origin,
                                          VectorScale(OffsetDirection(bf), bones[b].parentDist))
                              : frame.parentOffset;
            state[b] = State::Done;
        }
    }
    return result;
}

TVector3 GamePointFromBone(const TGameBone& bone, TVector3 local) {
    return VectorAdd({VectorDot(local, bone.axis[0]), VectorDot(local, bone.axis[1]),
                      VectorDot(local, bone.axis[2])},
                     bone.origin);
}

TVector3 GameDirectionIntoBone(const TGameBone& bone, TVector3 d) {
    const auto& a = bone.axis;
    return {a[0].x * d.x + a[1].x * d.y + a[2].x * d.z, a[0].y * d.x + a[1].y * d.y + a[2].y * d.z,
            a[0].z * d.x + a[1].z * d.y + a[2].z * d.z};
}

TVector3 GamePointIntoBone(const TGameBone& bone, TVector3 point) {
    return GameDirectionIntoBone(bone, VectorSubtract(point, bone.origin));
}
