#include "shader/shader_lines.h"

#include <cerrno>
#include <string>

#include "io/binary_file.h"
#include "io/file_error.h"

namespace {

bool IsBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}

std::string PrepareLine(std::string_view line, bool lowerCase) {
    const std::size_t comment = line.find("//");
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    line = TrimBlanks(line);
    return lowerCase ? LowerCase(line) : std::string(line);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string_view TextAfter(std::string_view line, std::string_view word) {
    const std::size_t at = line.find(word);
    if (at == std::string_view::npos) return {};
    return TrimBlanks(line.substr(at + word.size()));
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string ForwardSlashes(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::vector<std::string> PrepareShaderLines(std::string_view text, bool lowerCase) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(PrepareLine(text.substr(start, end - start), lowerCase));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> LoadShaderLines(const std::string& fileName, bool lowerCase) {
    const BinaryFile file(fileName);
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    // A script that opens but cannot be read is reported like one that cannot be opened,
    // rather than passing for an empty file that defines no shaders.
    if (!bytes.empty() && !file.ReadAt(0, bytes.data(), file.size())) {
        throw FileError::CannotOpen(fileName, EIO);
    }
    return PrepareShaderLines(bytes, lowerCase);
}
