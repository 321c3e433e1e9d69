// Feeds arbitrary bytes to the MilkShape reader and converts whatever it accepts, answering
// the bounds and split questions Yes, checks that what it made fits the limits, then writes
// and reads back the model, all in memory.
#include <cstdint>
#include <string>

#include "import/ms3d.h"
#include "imported_model_checks.h"
#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMS3D ms3d;
    if (!ms3d.LoadMS3DBytes({data, size})) return 0;
    TMD3 model;
    std::string message;
    AnswerYesPrompts yes;
    if (ms3d.ConvertMS3DToMD3(model, yes, message)) {
        TrapUnlessImportFits(model);
        MemorySink out;
        if (!model.WriteTo(out)) __builtin_trap();
        TMD3 again;
        if (!again.LoadFrom(MemoryBytes(out.bytes()))) __builtin_trap();
    } else if (!model.IsEmpty()) {
        __builtin_trap();  // a refused model leaves nothing behind
    }
    return 0;
}
