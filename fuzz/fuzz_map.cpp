// Feeds arbitrary text to the map reader and converts what it read, answering the bounds and
// split questions Yes so that the building and splitting of surfaces runs on every input.
#include <cstdint>
#include <string_view>

#include "import/level_map.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLevelMap map;
    map.LoadMapText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    TMD3 model;
    AnswerYesPrompts yes;
    if (map.ConvertToMD3(model, &yes)) {
        // Every surface holds what its counts say and every index names one of its vertices.
        // Surfaces past the limits were split: what is left fits.
        if (model.header.surfaces.size() > static_cast<std::size_t>(kMD3MaxSurfaces))
            __builtin_trap();
        for (const TSurface& s : model.header.surfaces) {
            if (s.numVerts > kMD3MaxVerts || s.numTriangles > kMD3MaxTriangles) __builtin_trap();
            if (s.vertices.size() != static_cast<std::size_t>(s.numVerts) ||
                s.triangles.size() != static_cast<std::size_t>(s.numTriangles)) {
                __builtin_trap();
            }
            for (const TMD3Triangle& t : s.triangles) {
                for (std::int32_t index : t.indexes) {
                    if (index < 0 || index >= s.numVerts) __builtin_trap();
                }
            }
        }
    }
    return 0;
}
