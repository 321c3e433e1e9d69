#include "import/ase_values.h"

#include <array>
#include <cctype>
#include <charconv>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Fields of a line written with tabs start at the first tab at or after a fixed position
// (counted from 1), past the keyword and the index; nothing when there is no such tab.
std::optional<std::size_t> TabFieldsStart(std::string_view line, std::size_t position) {
    const std::size_t tab = line.find('\t', position - 1);
    if (tab == std::string_view::npos) return std::nullopt;
    return tab + 1;
}

// The next tab-separated field from `from`; `from` moves past its tab, or to npos at the end.
std::optional<std::string_view> NextTabField(std::string_view line, std::size_t& from) {
    if (from == std::string_view::npos || from > line.size()) return std::nullopt;
    const std::size_t tab = line.find('\t', from);
    std::string_view field = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
    from = tab == std::string_view::npos ? tab : tab + 1;
    return field;
}

// The values of a line whose fields are separated by spaces, after the keyword and the index;
// values past `count` stay unset.
template <std::size_t N>
void BlankSeparatedValues(std::string_view line,
                          std::array<std::optional<std::string_view>, N>& values) {
    std::size_t i = 0;
    for (std::size_t field = 0; field < N + 2; ++field) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i == start) return;
        if (field >= 2) values[field - 2] = line.substr(start, i - start);
    }
}

std::string_view TextAfterKeyword(std::string_view line) {
    std::size_t split = line.find(' ');
    if (split == std::string_view::npos) split = line.find('\t');
    if (split == std::string_view::npos) return {};
    return line.substr(split + 1);
}

template <typename T, typename Parse>
void KeepUnlessParsed(std::optional<std::string_view> text, T& value, Parse parse) {
    if (!text) return;
    if (auto parsed = parse(*text)) value = *parsed;
}

}  // namespace

std::optional<float> AseParseFloat(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    // Only decimal numbers: "inf" and "nan" would carry through every position they touch.
    const std::size_t first = !text.empty() && text.front() == '-' ? 1 : 0;
    if (first >= text.size() ||
        !(std::isdigit(static_cast<unsigned char>(text[first])) || text[first] == '.'))
        return std::nullopt;
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> AseParseInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string_view AseQuotedText(std::string_view line) {
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos) return {};
    const std::size_t close = line.find('"', open + 1);
    return line.substr(open + 1, close == std::string_view::npos ? close : close - open - 1);
}

float AseNumberAfterKeyword(std::string_view line) {
    return AseParseFloat(TextAfterKeyword(line)).value_or(0.0f);
}

std::int32_t AseIntegerAfterKeyword(std::string_view line) {
    return AseParseInteger(TextAfterKeyword(line)).value_or(0);
}

TVector3 AseReadVertex(std::string_view line) {
    std::array<std::optional<std::string_view>, 3> fields;
    if (auto from = TabFieldsStart(line, 14)) {
        std::size_t at = *from;
        fields[0] = NextTabField(line, at);
        fields[1] = NextTabField(line, at);
        // z is the rest of the line, tabs and all.
        if (at != std::string_view::npos) fields[2] = line.substr(at);
    } else {
        BlankSeparatedValues(line, fields);
    }
    float xyz[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<float> value = fields[i] ? AseParseFloat(*fields[i]) : std::nullopt;
        if (!value) return kVectorZero;
        xyz[i] = *value;
    }
    return {xyz[0], xyz[1], xyz[2]};
}

void AseReadMappingVertex(std::string_view line, TASEMappingVertex& vertex) {
    std::array<std::optional<std::string_view>, 2> fields;
    if (auto from = TabFieldsStart(line, 13)) {
        std::size_t at = *from;
        fields[0] = NextTabField(line, at);
        fields[1] = NextTabField(line, at);
    } else {
        BlankSeparatedValues(line, fields);
    }
    KeepUnlessParsed(fields[0], vertex.u, AseParseFloat);
    KeepUnlessParsed(fields[1], vertex.v, AseParseFloat);
}

void AseReadMappingFace(std::string_view line, TASEMappingFace& face) {
    std::array<std::optional<std::string_view>, 3> fields;
    if (auto from = TabFieldsStart(line, 13)) {
        std::size_t at = *from;
        fields[0] = NextTabField(line, at);
        fields[1] = NextTabField(line, at);
        fields[2] = NextTabField(line, at);
    } else {
        BlankSeparatedValues(line, fields);
    }
    for (int i = 0; i < 3; ++i)
        KeepUnlessParsed(fields[i], face.index[i], AseParseInteger);
}

void AseReadFace(std::string_view line, TASEFace& face) {
    static constexpr std::string_view kLabels[8] = {
        "A:", "B:", "C:", "AB:", "BC:", "CA:", "*MESH_SMOOTHING", "*MESH_MTLID"};
    // Where each label's value starts and ends; a label the line lacks leaves its value as it
    // was, and the value before it runs on to the next label that is there.
    std::array<std::optional<std::string_view>, 8> values;
    std::size_t cursor = 0;
    int previous = -1;
    std::size_t previousStart = 0;
    for (int i = 0; i < 8; ++i) {
        const std::size_t at = line.find(kLabels[i], cursor);
        if (at == std::string_view::npos) continue;
        if (previous >= 0) values[previous] = line.substr(previousStart, at - previousStart);
        previous = i;
        previousStart = at + kLabels[i].size();
        cursor = previousStart;
    }
    if (previous >= 0) values[previous] = line.substr(previousStart);

    std::int32_t* const integers[3] = {&face.a, &face.b, &face.c};
    for (int i = 0; i < 3; ++i)
        KeepUnlessParsed(values[i], *integers[i], AseParseInteger);
    bool* const flags[3] = {&face.ab, &face.bc, &face.ca};
    for (int i = 0; i < 3; ++i)
        if (values[3 + i]) *flags[i] = Trim(*values[3 + i]) == "1";
    KeepUnlessParsed(values[6], face.smoothingGroup, AseParseInteger);
    if (values[6]) {
        // A comma-separated list of groups 1 to 32; a list without any keeps the last one.
        std::uint32_t groups = 0;
        bool any = false;
        std::string_view list = Trim(*values[6]);
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            const std::optional<std::int32_t> group = AseParseInteger(list.substr(0, comma));
            if (group) {
                any = true;
                if (*group >= 1 && *group <= 32) groups |= std::uint32_t{1} << (*group - 1);
            }
            list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        }
        if (any) face.smoothingGroups = groups;
    }
    KeepUnlessParsed(values[7], face.materialId, AseParseInteger);
}
