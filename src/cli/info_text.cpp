#include "cli/info_text.h"

#include <charconv>

std::string NumberText(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                   std::chars_format::general, 6)
                         .ptr;
    return std::string(text, end);
}

std::string VectorText(TVector3 v) {
    return '(' + NumberText(v.x) + ", " + NumberText(v.y) + ", " + NumberText(v.z) + ')';
}

std::string Quoted(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return '"' + shown + '"';
}
