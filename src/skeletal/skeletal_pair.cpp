#include "skeletal/skeletal_pair.h"

#include "md3/md3.h"

namespace {

std::string Outside(const char* what, std::int64_t bone, std::size_t boneCount) {
    return std::string(what) + " " + std::to_string(bone) + " outside the animation's " +
           std::to_string(boneCount) + (boneCount == 1 ? " bone" : " bones");
}

template <std::size_t N>
std::string Named(const char* kind, std::size_t index, const char (&name)[N]) {
    return std::string(kind) + " " + std::to_string(index) + " (\"" + NameFieldText(name) + "\")";
}

std::string ReferenceProblem(const std::vector<TMDMSurfaceBoneRefs>& references,
                             std::size_t boneCount) {
    for (TMDMSurfaceBoneRefs bone : references) {
        if (bone >= boneCount) return Outside("bone reference", bone, boneCount);
    }
    return "";
}

}  // namespace

std::string SkeletalPairProblem(const TMDM& mesh, const TMDX& anim) {
    const std::string animProblem = anim.CountMismatch();
    if (!animProblem.empty()) return "the animation is inconsistent: " + animProblem;
    const std::string order = BoneOrderProblem(anim.bones);
    if (!order.empty()) return order;
    const std::size_t boneCount = anim.bones.size();
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        const TMDMSurface& surface = mesh.surfaces[s];
        for (std::size_t v = 0; v < surface.vertices.size(); ++v) {
            for (const TMDMWeight& w : surface.vertices[v].weights) {
                if (w.boneIndex < 0 || static_cast<std::size_t>(w.boneIndex) >= boneCount) {
                    return Named("surface", s, surface.name) + ", vertex " + std::to_string(v) +
                           ": " + Outside("bone index", w.boneIndex, boneCount);
                }
            }
        }
        const std::string refs = ReferenceProblem(surface.boneReferences, boneCount);
        if (!refs.empty()) return Named("surface", s, surface.name) + ": " + refs;
    }
    for (std::size_t t = 0; t < mesh.tags.size(); ++t) {
        const TMDMTag& tag = mesh.tags[t];
        if (tag.boneIndex < 0 || static_cast<std::size_t>(tag.boneIndex) >= boneCount) {
            return Named("tag", t, tag.name) + ": " +
                   Outside("bone index", tag.boneIndex, boneCount);
        }
        const std::string refs = ReferenceProblem(tag.boneReferences, boneCount);
        if (!refs.empty()) return Named("tag", t, tag.name) + ": " + refs;
    }
    return "";
}
