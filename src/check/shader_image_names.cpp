#include "check/shader_image_names.h"

#include <cctype>

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The words of one line without its "//" comment; braces count as words.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : ' ';
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') break;
        if (std::isspace(static_cast<unsigned char>(c)) || c == '{' || c == '}') {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (c == '{' || c == '}') words.emplace_back(1, c);
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

bool EngineImage(const std::string& name) {
    return name.empty() || name[0] == '$' || name[0] == '*';
}

}  // namespace

std::vector<TShaderImageName> ShaderImageNames(std::string_view script) {
    std::vector<TShaderImageName> names;
    std::string shader;
    int depth = 0;
    std::size_t start = 0;
    while (start <= script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) end = script.size();
        const std::vector<std::string> words = Words(script.substr(start, end - start));
        for (std::size_t w = 0; w < words.size(); ++w) {
            const std::string key = Lower(words[w]);
            if (key == "{") {
                ++depth;
            } else if (key == "}") {
                depth = depth > 0 ? depth - 1 : 0;
            } else if (depth == 0) {
                shader = words[w];
            } else if (depth == 2 && w == 0 && (key == "map" || key == "clampmap")) {
                if (words.size() > 1 && !EngineImage(words[1])) names.push_back({shader, words[1]});
            } else if (depth == 2 && w == 0 && key == "animmap") {
                for (std::size_t i = 2; i < words.size() && words[i] != "}"; ++i)
                    if (!EngineImage(words[i])) names.push_back({shader, words[i]});
            }
        }
        start = end + 1;
    }
    return names;
}
