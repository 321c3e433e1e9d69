// Line handling shared by the animation list readers (.aninc, .anim).
#pragma once

#include <string_view>
#include <vector>

// The line without the control characters and spaces at its ends.
inline std::string_view TrimBlanks(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ')
        line.remove_prefix(1);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ')
        line.remove_suffix(1);
    return line;
}

// The parts of a line separated by runs of the characters in `separators`.
inline std::vector<std::string_view> SplitTokens(std::string_view line,
                                                 std::string_view separators) {
    std::vector<std::string_view> tokens;
    // Lines of the animation files hold at most about eight tokens: one allocation per line
    // instead of four.
    tokens.reserve(8);
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(separators, at);
        if (start == std::string_view::npos) break;
        std::size_t end = line.find_first_of(separators, start);
        if (end == std::string_view::npos) end = line.size();
        tokens.push_back(line.substr(start, end - start));
        at = end;
    }
    return tokens;
}
