// Feeds arbitrary bytes to the MilkShape reader and converts whatever it accepts, answering
// the bounds question both ways, then writes and reads back the model it made.
#include <cstdint>
#include <string>

#include "fuzz_input_file.h"
#include "import/ms3d.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("ms3d", data, size);
    if (path.empty()) return 0;
    TMS3D ms3d;
    if (!ms3d.LoadMS3D(path)) return 0;
    TMD3 model;
    std::string message;
    AnswerYesPrompts yes;
    if (ms3d.ConvertMS3DToMD3(model, yes, message)) {
        if (!model.SaveToFile(path + ".out")) __builtin_trap();
        TMD3 again;
        if (!again.LoadFromFile(path + ".out")) __builtin_trap();
    } else if (!model.IsEmpty()) {
        __builtin_trap();  // a refused model leaves nothing behind
    }
    return 0;
}
