// Feeds arbitrary bytes to the archive reader as a PK3: the central directory is listed, the
// masks run over it, every entry name goes through the extraction check, and every entry the
// size bounds allow is read in full, which must give exactly the size it states.
#include <cstdint>
#include <string>
#include <vector>

#include "assets/entry_safety.h"
#include "assets/pk3_archive.h"
#include "io/file_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPK3Archive archive;
    try {
        archive.OpenMemory(data, size, "fuzz.pk3");
    } catch (const FileError&) {
        return 0;
    }
    for (const TArchiveEntry& entry : archive.Entries()) {
        const TSafeEntryPath safe = SafeEntryPath(entry.name);
        if (safe.path.empty() == safe.problem.empty()) __builtin_trap();
        if (!safe.path.empty() && safe.path[0] == '/') __builtin_trap();
        if (("/" + safe.path + "/").find("/../") != std::string::npos) __builtin_trap();
        if (entry.Folder() + entry.FileName() != entry.name) __builtin_trap();
    }
    for (const char* mask : {"*.md3", "scripts\\*.shader", "*"})
        archive.FindAll(mask);
    std::vector<std::uint8_t> bytes;
    std::string error;
    for (const TArchiveEntry* entry : archive.FindAll("*")) {
        if (archive.ReadEntry(*entry, 1 << 20, bytes, error) && bytes.size() != entry->size)
            __builtin_trap();
    }
    return 0;
}
