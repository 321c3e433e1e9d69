#include "assets/archive_entry_ref.h"

#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"

std::optional<TArchiveEntryRef> SplitArchiveEntryRef(const std::string& argument) {
    for (std::size_t colon = argument.find(':'); colon != std::string::npos;
         colon = argument.find(':', colon + 1)) {
        if (colon < 4 || colon + 1 >= argument.size()) continue;
        const std::string suffix = LowerCaseAscii(argument.substr(colon - 4, 4));
        if (suffix != ".pk3" && suffix != ".zip") continue;
        // Checked only now: a plain model argument costs no look at the disk.
        std::error_code ec;
        if (std::filesystem::exists(argument, ec)) return std::nullopt;
        return TArchiveEntryRef{argument.substr(0, colon), argument.substr(colon + 1)};
    }
    return std::nullopt;
}
