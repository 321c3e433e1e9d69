#include "skeletal/mdx.h"

#include <cstring>

#include "md3/md3.h"

void TMDX::Clear() {
    frames.clear();
    bones.clear();
    header.numFrames = 0;
    header.numBones = 0;
}

bool TMDX::IsValid() const {
    return std::memcmp(header.ident, kMDXIdent, 4) == 0;
}

std::string TMDX::CountMismatch() const {
    if (frames.size() != header.numFrames) return "the frame count disagrees with the frames";
    if (bones.size() != header.numBones) return "the bone count disagrees with the bones";
    for (std::size_t f = 0; f < frames.size(); ++f) {
        if (frames[f].boneFrames.size() != header.numBones) {
            return "frame " + std::to_string(f) + " holds " +
                   std::to_string(frames[f].boneFrames.size()) + " bone frames for " +
                   std::to_string(header.numBones) + " bones";
        }
    }
    return "";
}

std::string BoneOrderProblem(const std::vector<TMDXBoneInfo>& bones) {
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const std::int32_t parent = bones[i].parent;
        if (parent == -1 || (parent >= 0 && static_cast<std::size_t>(parent) < i)) continue;
        return "bone " + std::to_string(i) + " (\"" + NameFieldText(bones[i].name) +
               "\") has the parent " + std::to_string(parent) + ", which is not an earlier bone";
    }
    return "";
}
