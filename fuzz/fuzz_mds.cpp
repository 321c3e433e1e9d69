// Feeds arbitrary bytes to the MDS reader, converts whatever it accepts to MDM/MDX, poses and
// bakes the result and writes both halves back: no conversion may leave a bone index that the
// pair cannot pose or counts that disagree with the arrays.
#include <cstdint>
#include <string>

#include "fuzz_input_file.h"
#include "skeletal/mds_convert.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("mds", data, size);
    if (path.empty()) return 0;
    TMDS mds;
    if (!mds.LoadFromFile(path)) return 0;
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
    if (!mesh.SaveToFile(path + ".mdm") || !anim.SaveToFile(path + ".mdx")) __builtin_trap();
    return 0;
}
