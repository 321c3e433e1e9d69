// Feeds arbitrary text to the 3ds Max ASCII reader and converts whatever it accepts, then
// writes and reads back the model it made, all in memory.
#include <cstdint>
#include <string>

#include "import/ase.h"
#include "imported_model_checks.h"
#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TASE ase;
    std::string message;
    if (!ase.LoadASEBytes({data, size}, "fuzz.ase", message)) return 0;
    TMD3 model;
    AnswerYesPrompts yes;
    if (ase.ConvertASEToMD3(model, yes, message)) {
        TrapUnlessImportFits(model);
        MemorySink out;
        if (!model.WriteTo(out)) __builtin_trap();
        TMD3 again;
        if (!again.LoadFrom(MemoryBytes(out.bytes()))) __builtin_trap();
    } else if (!model.IsEmpty()) {
        __builtin_trap();
    }
    return 0;
}
