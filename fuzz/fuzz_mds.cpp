// Feeds arbitrary bytes to the MDS reader, converts whatever it accepts to MDM/MDX, poses and
// bakes the result and writes both halves back into memory: no conversion may leave a bone
// index that the pair cannot pose or counts that disagree with the arrays.
#include <cstdint>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "skeletal/mds_convert.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMDS mds;
    if (!mds.LoadFrom(MemoryBytes({data, size}))) return 0;
    TMDM mesh;
    TMDX anim;
    ConvertMDS(mds, mesh, anim);
    if (!mesh.CountMismatch().empty() || !anim.CountMismatch().empty() ||
        !BoneOrderProblem(anim.bones).empty()) {
        __builtin_trap();
    }
    for (const TMDMTag& tag : mesh.tags) {
        if (tag.boneIndex < 0) __builtin_trap();
    }
    if (SkeletalPairProblem(mesh, anim).empty() && !anim.frames.empty()) {
        TMD3 md3;
        BakeFramesToMD3(mesh, anim, 0, 0, md3);
    }
    MemorySink meshOut, animOut;
    if (!mesh.WriteTo(meshOut) || !anim.WriteTo(animOut)) __builtin_trap();
    return 0;
}
