// Feeds arbitrary bytes to the glTF reader as a .glb or a .gltf held in memory (no file beside
// it can be read), converts whatever it accepts into an MD3 model answering every question Yes,
// and a skinned one into an MDM/MDX pair too; one frame each, so that an input costs little.
// Checks that the results fit the limits, then writes and reads them back, all in memory.
#include <cstdint>
#include <string>

#include "import/gltf_import.h"
#include "imported_model_checks.h"
#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TGltfImport gltf;
    std::string message;
    if (!gltf.LoadGltfBytes({data, size}, message)) return 0;
    gltf.choice.frames = TGltfFrameRange{0, 0};
    TMD3 model;
    AnswerYesPrompts yes;
    if (gltf.ConvertGltfToMD3(model, yes, message)) {
        TrapUnlessImportFits(model);
        MemorySink out;
        if (!model.WriteTo(out)) __builtin_trap();
        TMD3 again;
        if (!again.LoadFrom(MemoryBytes(out.bytes()))) __builtin_trap();
    } else if (!model.IsEmpty()) {
        __builtin_trap();  // a refused model leaves nothing behind
    }
    if (!gltf.HasSkin()) return 0;
    TMDM mesh;
    TMDX anim;
    if (!gltf.ConvertGltfToMDM(mesh, anim, message)) return 0;
    MemorySink meshOut, animOut;
    if (!mesh.WriteTo(meshOut) || !anim.WriteTo(animOut)) __builtin_trap();
    TMDM meshAgain;
    TMDX animAgain;
    if (!meshAgain.LoadFrom(MemoryBytes(meshOut.bytes()), yes) ||
        !animAgain.LoadFrom(MemoryBytes(animOut.bytes())))
        __builtin_trap();
    return 0;
}
