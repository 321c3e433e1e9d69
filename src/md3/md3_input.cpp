#include "md3/md3_input.h"

#include "io/decimal_text.h"

bool ParseDecimal(std::string_view text, float& value) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    const std::optional<float> parsed = ParseDecimalFloat(text);
    if (parsed) value = *parsed;
    return parsed.has_value();
}

bool MakeTag(std::string_view name, const std::array<std::string_view, 12>& numbers, TMD3Tag& tag) {
    float v[12];
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (!ParseDecimal(numbers[i], v[i])) return false;
    }
    TMD3Tag made;
    SetName64(name, made.name);
    made.origin = {v[0], v[1], v[2]};
    for (int a = 0; a < 3; ++a)
        made.axis[a] = {v[3 + 3 * a], v[4 + 3 * a], v[5 + 3 * a]};
    tag = made;
    return true;
}
