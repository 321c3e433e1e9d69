// Feeds arbitrary bytes to the MDM reader (every limit question answered Yes), poses whatever
// it accepts with a small animation, and writes it back, all in memory.
#include <cstdint>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "io/user_prompts.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_pose.h"

namespace {

// Four bones in a chain over two frames.
TMDX SmallAnimation() {
    TMDX anim;
    for (int b = 0; b < 4; ++b) {
        TMDXBoneInfo bone;
        bone.parent = b - 1;
        bone.parentDist = 5.0f;
        anim.bones.push_back(bone);
    }
    for (int f = 0; f < 2; ++f) {
        TMDXFrame frame;
        for (int b = 0; b < 4; ++b) {
            TMDXBoneFrame bf;
            bf.angles[0] = static_cast<std::int16_t>(3000 * f + 500 * b);
            bf.angles[1] = static_cast<std::int16_t>(-7000 * b);
            bf.ofsAngles[1] = static_cast<std::int16_t>(1000 * f);
            frame.boneFrames.push_back(bf);
        }
        anim.frames.push_back(frame);
    }
    anim.header.numBones = 4;
    anim.header.numFrames = 2;
    return anim;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TMDX anim = SmallAnimation();
    const MemoryBytes input({data, size});
    AnswerYesPrompts yes;
    TMDM mesh;
    if (!mesh.LoadFrom(input, yes)) return 0;
    if (!mesh.CountMismatch().empty()) __builtin_trap();
    // Posing never reads outside an array, whether or not the pair fits.
    for (std::uint32_t s = 0; s <= mesh.surfaces.size(); ++s)
        SkeletalPose(mesh, anim, 1, s);
    TMD3 md3;
    const bool fits = SkeletalPairProblem(mesh, anim).empty();
    if (BakeFramesToMD3(mesh, anim, 0, 1, md3).baked != fits) __builtin_trap();
    MemorySink out;
    if (!mesh.WriteTo(out)) __builtin_trap();
    TMDM again;
    if (!again.LoadFrom(MemoryBytes(out.bytes()), yes) || !again.LoadTagsFrom(input, yes)) {
        __builtin_trap();
    }
    return 0;
}
