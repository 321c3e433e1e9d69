#include "assets/archive_entry_ref.h"

#include <filesystem>
#include <system_error>

#include "assets/archive_names.h"

std::optional<TArchiveEntryRef> SplitArchiveEntryRef(const std::string& argument) {
    std::error_code ec;
    if (std::filesystem::exists(argument, ec)) return std::nullopt;
    for (std::size_t colon = argument.find(':'); colon != std::string::npos;
         colon = argument.find(':', colon + 1)) {
        if (colon < 4 || colon + 1 >= argument.size()) continue;
        const std::string suffix = LowerCaseAscii(argument.substr(colon - 4, 4));
        if (suffix == ".pk3" || suffix == ".zip")
            return TArchiveEntryRef{argument.substr(0, colon), argument.substr(colon + 1)};
    }
    return std::nullopt;
}
