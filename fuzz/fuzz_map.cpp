// Feeds arbitrary text to the map reader and converts what it read, answering the bounds and
// split questions Yes so that the building and splitting of surfaces runs on every input.
#include <cstdint>
#include <string_view>

#include "import/level_map.h"
#include "imported_model_checks.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLevelMap map;
    map.LoadMapText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    TMD3 model;
    AnswerYesPrompts yes;
    if (map.ConvertToMD3(model, &yes)) {
        TrapUnlessImportFits(model);
    }
    return 0;
}
