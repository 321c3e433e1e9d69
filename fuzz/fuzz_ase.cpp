// Feeds arbitrary text to the 3ds Max ASCII reader and converts whatever it accepts, then
// writes and reads back the model it made.
#include <cstdint>
#include <string>

#include "fuzz_input_file.h"
#include "import/ase.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput("ase", data, size);
    if (path.empty()) return 0;
    TASE ase;
    std::string message;
    if (!ase.LoadASE(path, message)) return 0;
    TMD3 model;
    AnswerYesPrompts yes;
    if (ase.ConvertASEToMD3(model, yes, message)) {
        if (!model.SaveToFile(path + ".out")) __builtin_trap();
        TMD3 again;
        if (!again.LoadFromFile(path + ".out")) __builtin_trap();
    } else if (!model.IsEmpty()) {
        __builtin_trap();
    }
    return 0;
}
