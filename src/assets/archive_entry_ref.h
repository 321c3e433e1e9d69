// Model arguments that name an entry inside an archive: "maps/x.pk3:models/a/b.md3".
#pragma once

#include <optional>
#include <string>

struct TArchiveEntryRef {
    std::string archive;
    std::string entry;
};

// Splits at the first ':' that follows a name ending in ".pk3" or ".zip" (any letter case)
// and is followed by an entry name. Nothing when the argument names an existing file as a
// whole, or has no such colon.
std::optional<TArchiveEntryRef> SplitArchiveEntryRef(const std::string& argument);
