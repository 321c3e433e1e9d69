#include "app/number_text.h"

#include <charconv>
#include <cmath>

std::string FloatText(float value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    // Negating a zero (mirroring, inverting a tag axis) gives -0, which reads as a fault.
    if (value == 0.0f) return "0";
    // A float printed with 15 digits would show the noise of its binary value
    // (0.1f as 0.100000001490116), so take the shortest decimal that identifies the float
    // and only borrow the "%.15g" layout for it.
    char shortest[32];
    auto written =
        std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
    double decimal = 0.0;
    std::from_chars(shortest, written.ptr, decimal);
    char buffer[40];
    written =
        std::to_chars(buffer, buffer + sizeof buffer, decimal, std::chars_format::general, 15);
    return std::string(buffer, written.ptr);
}

std::string PlainDecimalText(float value) {
    if (!std::isfinite(value)) return FloatText(value);
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                       std::chars_format::fixed, 6);
    std::string text(buffer, written.ptr);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string Vector3Text(const TVector3& v) {
    return FloatText(v.x) + "  " + FloatText(v.y) + "  " + FloatText(v.z);
}

std::string FlagsText(std::int32_t flags) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(flags);
    std::string text(8, '0');
    for (int i = 0; i < 8; ++i)
        text[7 - i] = kDigits[(bits >> (4 * i)) & 0xF];
    return text + "h";
}
