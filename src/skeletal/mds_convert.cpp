#include "skeletal/mds_convert.h"

#include <algorithm>
#include <cstring>

#include "skeletal/game_bone.h"

namespace {

constexpr std::int32_t kSurfaceIdent = 9;

class Converter {
  public:
    Converter(const TMDS& mds, TMDSConversion& result) : mds_(mds), result_(result) {}

    void BuildBoneMap();
    void FillAnimation(TMDX& anim);
    void FillMesh(TMDM& mesh, const TMDX& anim);

  private:
    // The new index of bone b, or of its nearest kept ancestor; -1 when there is none.
    std::int32_t KeptBone(std::int64_t b) const;
    void Note(std::string text) { result_.notes.push_back(std::move(text)); }
    // The MDS's own bones at the conversion frame, which moved weights and tags are
    // re-expressed from.
    void PoseConversionFrame();
    // The MDS bone whose new index is `kept`.
    const TGameBone& KeptGameBone(std::int32_t kept) const {
        return gameBones_[keptSource_[static_cast<std::size_t>(kept)]];
    }
    void FillSurface(const TMDSSurface& from, std::size_t index, TMDMSurface& to);
    void FillTags(TMDM& mesh, const TMDX& anim);

    const TMDS& mds_;
    TMDSConversion& result_;
    std::uint32_t kept_ = 0;
    std::vector<std::size_t> keptSource_;  // MDS index of each new bone
    std::vector<TGameBone> gameBones_;     // empty when the model has no frame to pose
};

void Converter::BuildBoneMap() {
    result_.boneMap.resize(mds_.bones.size());
    for (std::size_t b = 0; b < mds_.bones.size(); ++b) {
        result_.boneMap[b] = mds_.bones[b].flags == 0 ? static_cast<std::int32_t>(kept_++) : -1;
        if (result_.boneMap[b] >= 0) keptSource_.push_back(b);
    }
}

void Converter::PoseConversionFrame() {
    result_.frame = mds_.frames.size() > kMDSConversionFrame + 1 ? kMDSConversionFrame : 0;
    if (result_.frame < mds_.frames.size())
        gameBones_ = GameBonesOfFrame(mds_.bones, mds_.frames[result_.frame]);
}

std::int32_t Converter::KeptBone(std::int64_t b) const {
    // A parent chain from a file may loop; no real chain is longer than the bone list.
    for (std::size_t steps = 0; steps <= mds_.bones.size(); ++steps) {
        if (b < 0 || static_cast<std::uint64_t>(b) >= mds_.bones.size()) return -1;
        const std::int32_t mapped = result_.boneMap[static_cast<std::size_t>(b)];
        if (mapped >= 0) return mapped;
        b = mds_.bones[static_cast<std::size_t>(b)].parent;
    }
    return -1;
}

void Converter::FillAnimation(TMDX& anim) {
    TMDXHeader& h = anim.header;
    std::memcpy(h.ident, kMDXIdent, 4);
    h.version = 2;
    std::memcpy(h.name, mds_.header.name, sizeof h.name);
    h.numBones = kept_;
    h.torsoParent = mds_.header.torsoParent;
    const std::int32_t torso = mds_.header.torsoParent;
    if (torso >= 0 && static_cast<std::size_t>(torso) < mds_.bones.size()) {
        h.torsoParent = KeptBone(torso);
        if (h.torsoParent != result_.boneMap[static_cast<std::size_t>(torso)]) {
            Note("the torso parent is a tag bone; its nearest kept ancestor takes its place");
        }
    }
    for (std::size_t b = 0; b < mds_.bones.size(); ++b) {
        if (result_.boneMap[b] < 0) continue;
        TMDXBoneInfo bone = mds_.bones[b];
        const std::int32_t parent = mds_.bones[b].parent;
        const bool inRange = parent >= 0 && static_cast<std::size_t>(parent) < mds_.bones.size();
        bone.parent = inRange ? result_.boneMap[static_cast<std::size_t>(parent)] : -1;
        if (parent != -1 && bone.parent == -1) {
            Note("bone " + std::to_string(b) + " hangs on " + (inRange ? "a tag bone" : "no bone") +
                 " and becomes a root bone");
        }
        // The pose computes parents first, and an MDX whose bones break that order is refused
        // when it is read back.
        if (bone.parent >= static_cast<std::int32_t>(anim.bones.size())) {
            Note("bone " + std::to_string(b) + " hangs on a later bone and becomes a root bone");
            bone.parent = -1;
        }
        anim.bones.push_back(bone);
    }
    for (const TMDXFrame& from : mds_.frames) {
        TMDXFrame frame;
        static_cast<TMDXFrameRecord&>(frame) = from;
        for (std::size_t b = 0; b < mds_.bones.size() && b < from.boneFrames.size(); ++b) {
            if (result_.boneMap[b] < 0) continue;
            TMDXBoneFrame bf = from.boneFrames[b];
            bf.angles[3] = 0;
            frame.boneFrames.push_back(bf);
        }
        anim.frames.push_back(std::move(frame));
    }
    h.numFrames = static_cast<std::uint32_t>(anim.frames.size());
}

void Converter::FillSurface(const TMDSSurface& from, std::size_t index, TMDMSurface& to) {
    static_cast<TMDMSurfaceHeader&>(to) = from;
    std::memcpy(to.ident, &kSurfaceIdent, 4);
    to.shaderIndex = 0;
    std::size_t moved = 0, dropped = 0;
    for (const TMDSVertex& v : from.vertices) {
        TMDMVertex vertex;
        vertex.normal = v.normal;
        vertex.texCoords[0] = v.texCoords[0];
        vertex.texCoords[1] = v.texCoords[1];
        for (TMDMWeight w : v.weights) {
            const std::int32_t bone = KeptBone(w.boneIndex);
            if (bone < 0) {
                ++dropped;
                continue;
            }
            const bool direct = w.boneIndex >= 0 &&
                                static_cast<std::size_t>(w.boneIndex) < result_.boneMap.size() &&
                                result_.boneMap[static_cast<std::size_t>(w.boneIndex)] == bone;
            if (!direct) {
                ++moved;
                // The offset was relative to the tag bone: at the conversion frame the vertex
                // stays where the MDS puts it, now carried by the ancestor.
                if (!gameBones_.empty()) {
                    const TVector3 placed = GamePointFromBone(
                        gameBones_[static_cast<std::size_t>(w.boneIndex)], w.offset);
                    w.offset = GamePointIntoBone(KeptGameBone(bone), placed);
                }
            }
            w.boneIndex = bone;
            vertex.weights.push_back(w);
        }
        vertex.numWeights = static_cast<std::int32_t>(vertex.weights.size());
        to.vertices.push_back(std::move(vertex));
    }
    to.triangles = from.triangles;
    to.collapseMap = from.collapseMap;
    std::size_t changed = 0;
    for (TMDMSurfaceBoneRefs reference : from.boneReferences) {
        const std::int32_t bone = KeptBone(static_cast<std::int64_t>(reference));
        const auto kept = static_cast<TMDMSurfaceBoneRefs>(bone);
        if (reference >= result_.boneMap.size() || result_.boneMap[reference] != bone) ++changed;
        if (bone >= 0 && std::find(to.boneReferences.begin(), to.boneReferences.end(), kept) ==
                             to.boneReferences.end()) {
            to.boneReferences.push_back(kept);
        }
    }
    to.numBoneReferences = static_cast<std::uint32_t>(to.boneReferences.size());
    const std::string what = "surface " + std::to_string(index) + ": ";
    if (moved > 0) {
        Note(what + std::to_string(moved) +
             " weights on tag bones moved to their nearest kept ancestor");
    }
    if (dropped > 0) Note(what + std::to_string(dropped) + " weights on no kept bone dropped");
    if (changed > 0) {
        Note(what + std::to_string(changed) +
             " bone references to tag bones or missing bones replaced or dropped");
    }
}

void Converter::FillMesh(TMDM& mesh, const TMDX& anim) {
    TMDMHeader& h = mesh.header;
    std::memcpy(h.ident, kMDMIdent, 4);
    h.version = 3;
    std::memcpy(h.name, mds_.header.name, sizeof h.name);
    // Both headers store scale then bias, and both renderers read them so.
    h.lodScale = mds_.header.lodScale;
    h.lodBias = mds_.header.lodBias;
    PoseConversionFrame();
    mesh.surfaces.resize(mds_.surfaces.size());
    for (std::size_t i = 0; i < mds_.surfaces.size(); ++i)
        FillSurface(mds_.surfaces[i], i, mesh.surfaces[i]);
    h.numSurfaces = static_cast<std::uint32_t>(mesh.surfaces.size());
    FillTags(mesh, anim);
    mesh.ResetLodTable();
}

void Converter::FillTags(TMDM& mesh, const TMDX& anim) {
    const auto flagged = static_cast<std::size_t>(mds_.bones.size() - kept_);
    if (flagged != mds_.tags.size()) {
        Note("the model has " + std::to_string(mds_.tags.size()) + " tags for " +
             std::to_string(flagged) + " tag bones; " +
             std::to_string(std::min(flagged, mds_.tags.size())) + " tags are kept");
    }
    for (std::size_t t = 0; t < std::min(flagged, mds_.tags.size()); ++t) {
        const TMDSTag& from = mds_.tags[t];
        TMDMTag tag;
        std::memcpy(tag.name, from.name, sizeof tag.name);
        tag.axis[0] = kVectorPosX;
        tag.axis[1] = kVectorPosY;
        tag.axis[2] = kVectorPosZ;
        const std::int64_t b = from.boneIndex;
        const bool valid = b >= 0 && static_cast<std::uint64_t>(b) < mds_.bones.size();
        const TMDXBoneInfo* bone = valid ? &mds_.bones[static_cast<std::size_t>(b)] : nullptr;
        const std::int32_t parent = valid ? KeptBone(bone->parent) : -1;
        if (parent < 0) {
            Note("tag " + std::to_string(t) + " hangs on no kept bone and is put on bone 0");
        }
        tag.boneIndex = std::max(parent, 0);
        // The game's MDS tag is its bone's own frame: origin and axis rows. Re-expressed in
        // the new bone's frame, the MDM tag gives that same frame at the conversion frame.
        if (valid && !gameBones_.empty() && tag.boneIndex < static_cast<std::int32_t>(kept_)) {
            const TGameBone& own = gameBones_[static_cast<std::size_t>(b)];
            const TGameBone& carrier = KeptGameBone(tag.boneIndex);
            tag.offset = GamePointIntoBone(carrier, own.origin);
            for (int k = 0; k < 3; ++k)
                tag.axis[k] = GameDirectionIntoBone(carrier, own.axis[static_cast<std::size_t>(k)]);
        }
        // The bone chain the tag depends on, root first.
        for (std::int32_t c = tag.boneIndex, steps = 0;
             c >= 0 && static_cast<std::size_t>(c) < anim.bones.size() &&
             steps <= static_cast<std::int32_t>(anim.bones.size());
             c = anim.bones[static_cast<std::size_t>(c)].parent, ++steps) {
            tag.boneReferences.insert(tag.boneReferences.begin(),
                                      static_cast<TMDMSurfaceBoneRefs>(c));
        }
        tag.numBoneReferences = static_cast<std::uint32_t>(tag.boneReferences.size());
        tag.ofsBoneReferences = static_cast<std::int32_t>(sizeof(TMDMTagRecord));
        tag.ofsEnd = static_cast<std::int32_t>(sizeof(TMDMTagRecord) +
                                               sizeof(TMDMSurfaceBoneRefs) * tag.numBoneReferences);
        mesh.tags.push_back(std::move(tag));
    }
    mesh.header.numTags = static_cast<std::uint32_t>(mesh.tags.size());
}

}  // namespace

TMDSConversion ConvertMDS(const TMDS& mds, TMDM& mesh, TMDX& anim) {
    mesh = TMDM();
    anim = TMDX();
    TMDSConversion result;
    Converter converter(mds, result);
    converter.BuildBoneMap();
    converter.FillAnimation(anim);
    converter.FillMesh(mesh, anim);
    return result;
}
