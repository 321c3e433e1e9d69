#include "io/ini_values.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "io/decimal_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsQuoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// from_chars rejects a leading plus, which hand-edited files may well have.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() >= 2 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

}  // namespace

std::string Enclosed(char open, std::string_view text, char close) {
    // Appended piece by piece: GCC 12 warns wrongly about operator+ on a temporary string.
    std::string result;
    result.reserve(text.size() + 2);
    result += open;
    result += text;
    result += close;
    return result;
}

std::string_view TrimIniBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::int64_t> ParseIniInteger(std::string_view text) {
    text = WithoutPlus(text);
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<double> ParseIniFloat(std::string_view text) {
    return ParseDecimalText(text);
}

std::string FormatIniFloat(double value) {
    char buffer[64];
    const auto [stop, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return {};
    return std::string(buffer, stop);
}

std::string DecodeIniValue(std::string_view raw) {
    raw = TrimIniBlanks(raw);
    if (IsQuoted(raw)) raw = raw.substr(1, raw.size() - 2);
    return std::string(raw);
}

std::string EncodeIniValue(std::string_view value) {
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value)))
        return Enclosed('"', value, '"');
    return std::string(value);
}
