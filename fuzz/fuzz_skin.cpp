// Feeds arbitrary bytes to the skin reader: every record it keeps has a lower-case surface
// name and a non-empty lower-case path, and every surface record is found again by its name.
// (As in the game's reader, a quoted token may hold line breaks and a bare one quotes.)
#include <cstdint>
#include <string_view>

#include "assets/skin.h"

namespace {

bool LowerCase(const std::string& text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TSkin skin = ParseSkin(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const TSkinRec& rec : skin) {
        if (rec.path.empty() || !LowerCase(rec.path) || !LowerCase(rec.surfaceName))
            __builtin_trap();
        // Names compared as stored find the first record of that name, never a model slot.
        if (rec.modelSlot) continue;
        const TSkinRec* found = FindSkinRec(skin, rec.surfaceName, TSkinNaming::Skeletal);
        if (found == nullptr || found->surfaceName != rec.surfaceName) __builtin_trap();
    }
    return 0;
}
