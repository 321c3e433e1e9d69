// Feeds arbitrary text to the character definition (.char) and animation group (.anim)
// readers: a definition they accept names a mesh, and every animation file of a group they
// accept holds entries.
#include <cstdint>
#include <string>

#include "skeletal/anim_group.h"
#include "skeletal/character_def.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TCharacterParse character = ParseCharacterDef(text);
    if (character.ok && character.def.mesh.empty()) __builtin_trap();
    if (!character.ok && character.error.empty()) __builtin_trap();
    // Every include reads the input again, so nesting and its limits are exercised too.
    const TAnimGroupParse group =
        ParseAnimGroup(text, [&text](const std::string&) { return text; });
    if (group.ok && group.files.empty()) __builtin_trap();
    if (!group.ok && group.error.empty()) __builtin_trap();
    return 0;
}
