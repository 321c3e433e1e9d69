#include "cli/frames_option.h"

#include <charconv>
#include <limits>
#include <string_view>

#include "cli/cli_error.h"

namespace {

bool ParseFrame(std::string_view text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

TFramesOption ParseFramesOption(const std::string& text) {
    const std::string_view view(text);
    const std::size_t dash = view.find('-');
    TFramesOption range;
    const bool parsed = dash == std::string_view::npos
                            ? ParseFrame(view, range.first) && ParseFrame(view, range.last)
                            : ParseFrame(view.substr(0, dash), range.first) &&
                                  ParseFrame(view.substr(dash + 1), range.last);
    if (!parsed)
        throw UsageError("Invalid --frames \"" + text + "\": expected FIRST-LAST or FRAME");
    if (range.last < range.first)
        throw UsageError("Invalid --frames \"" + text +
                         "\": the range is reversed (FIRST must not be after LAST)");
    return range;
}
