#include "skeletal/unposed_skeleton.h"

#include <algorithm>
#include <cstring>

#include "md3/md3.h"

namespace {

std::int64_t HighestBone(const TMDM& mesh) {
    std::int64_t highest = 0;
    const auto take = [&highest](std::int64_t bone) { highest = std::max(highest, bone); };
    for (const TMDMSurface& surface : mesh.surfaces) {
        for (const TMDMVertex& vertex : surface.vertices) {
            for (const TMDMWeight& w : vertex.weights)
                take(w.boneIndex);
        }
        for (TMDMSurfaceBoneRefs bone : surface.boneReferences)
            take(bone);
    }
    for (const TMDMTag& tag : mesh.tags) {
        take(tag.boneIndex);
        for (TMDMSurfaceBoneRefs bone : tag.boneReferences)
            take(bone);
    }
    return highest;
}

}  // namespace

TMDX UnposedSkeletonFor(const TMDM& mesh) {
    TMDX anim;
    std::memcpy(anim.header.ident, kMDXIdent, 4);
    anim.header.version = 2;  // the version the game writes
    const auto count = static_cast<std::size_t>(HighestBone(mesh) + 1);
    anim.bones.resize(count);
    for (std::size_t b = 0; b < count; ++b)
        SetNameField("bone" + std::to_string(b), anim.bones[b].name);
    TMDXFrame frame;
    frame.boneFrames.resize(count);
    anim.frames.push_back(std::move(frame));
    anim.header.numFrames = 1;
    anim.header.numBones = static_cast<std::uint32_t>(count);
    return anim;
}
