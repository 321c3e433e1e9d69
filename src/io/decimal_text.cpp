#include "io/decimal_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
    // from_chars knows no leading plus; "+-1" and "++1" stay refused.
    if (text.size() >= 2 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    T value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> ParseDecimalText(std::string_view text) {
    return ParseWhole<double>(text);
}

std::optional<float> ParseDecimalFloat(std::string_view text) {
    return ParseWhole<float>(text);
}
