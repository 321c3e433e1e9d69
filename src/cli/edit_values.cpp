#include "cli/edit_values.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <string_view>

#include "io/file_names.h"
#include "md3/md3_input.h"

void FailOperation(const std::string& reason) {
    throw OperationError(reason);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

int ParseIndex(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        FailOperation("\"" + text + "\" is not a whole number");
    }
    if (value < 0) FailOperation("\"" + text + "\" is negative (counting starts at 0)");
    return value;
}

float ParseNumber(const std::string& text) {
    float value = 0.0f;
    if (!ParseDecimal(text, value)) FailOperation("\"" + text + "\" is not a number");
    return value;
}

int ParseAxis(const std::string& text) {
    if (text == "x" || text == "X") return 0;
    if (text == "y" || text == "Y") return 1;
    if (text == "z" || text == "Z") return 2;
    FailOperation("\"" + text + "\" is not an axis (x, y or z)");
}

TMD3Tag ParseTag(const std::string& text) {
    // The name may itself hold colons; the four number groups are the last four fields.
    const std::vector<std::string> fields = Split(text, ':');
    if (fields.size() < 5) FailOperation("expected NAME:ox,oy,oz:ax,ay,az:bx,by,bz:cx,cy,cz");
    std::string name = fields[0];
    for (std::size_t i = 1; i + 4 < fields.size(); ++i)
        name += ":" + fields[i];
    std::vector<std::string> numbers;
    for (std::size_t i = fields.size() - 4; i < fields.size(); ++i) {
        const std::vector<std::string> group = Split(fields[i], ',');
        if (group.size() != 3) FailOperation("expected three numbers in \"" + fields[i] + "\"");
        numbers.insert(numbers.end(), group.begin(), group.end());
    }
    std::array<std::string_view, 12> views;
    for (std::size_t i = 0; i < views.size(); ++i)
        views[i] = numbers[i];
    TMD3Tag tag;
    if (!MakeTag(name, views, tag)) FailOperation(kInputConversionErrorText);
    return tag;
}

void RequireExtension(const std::string& fileName, const std::string& upperExtension) {
    if (UpperCaseExtension(fileName) != upperExtension) {
        std::string lower = upperExtension;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        FailOperation("the file name must end in " + lower);
    }
}
