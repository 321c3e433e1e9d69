#include "skeletal/aninc.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <string_view>

#include "io/file_bytes.h"
#include "io/path_case.h"
#include "skeletal/text_tokens.h"

namespace {

// A list of a few hundred lines; anything this large is not an animation list.
constexpr std::int64_t kMaxFileBytes = 16 << 20;

// Optional sign and decimal digits that fit 32 bits, nothing else.
bool ParseInteger(std::string_view token, std::int32_t& value) {
    if (token.size() > 1 && token.front() == '+' && token[1] != '-') token.remove_prefix(1);
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    return error == std::errc() && stop == end;
}

constexpr std::size_t kEntryTokens = 8;
using EntryTokenArray = std::array<std::string_view, kEntryTokens + 1>;

// The first blank-separated tokens of a line, one more than an entry has, so that a line of
// exactly an entry's count is told from longer ones without splitting the rest; how many
// were found. No allocation: a list is read line by line, and every line is split.
std::size_t LeadingTokens(std::string_view line, EntryTokenArray& tokens) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t count = 0;
    std::size_t at = 0;
    while (count < tokens.size()) {
        while (at < line.size() && blank(line[at]))
            ++at;
        if (at == line.size()) break;
        const std::size_t start = at;
        while (at < line.size() && !blank(line[at]))
            ++at;
        tokens[count++] = line.substr(start, at - start);
    }
    return count;
}

}  // namespace

bool TANINC::LoadFromFile(const std::string& fileName) {
    frames.clear();
    lastError_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return false;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxFileBytes, bytes, error)) {
        lastError_ = "\"" + fileName + "\": " + error;
        return false;
    }
    return LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                        fileName);
}

bool TANINC::LoadFromText(std::string_view text, const std::string& fileName) {
    frames.clear();
    lastError_.clear();
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::size_t comment = line.find("//");
        if (comment != std::string_view::npos) line = TrimBlanks(line.substr(0, comment));
        EntryTokenArray tokens;
        if (LeadingTokens(line, tokens) != kEntryTokens) continue;

        TANINCFrame entry;
        entry.name = std::string(tokens[0]);
        std::int32_t* const fields[7] = {
            &entry.firstFrame, &entry.numFrames,  &entry.looping, &entry.framesPerSecond,
            &entry.moveSpeed,  &entry.transition, &entry.reversed};
        for (int i = 0; i < 7; ++i) {
            if (!ParseInteger(tokens[i + 1], *fields[i])) {
                frames.clear();
                lastError_ = "\"" + fileName + "\", line " + std::to_string(lineNumber) + ": \"" +
                             std::string(tokens[i + 1]) + "\" is not an integer";
                return false;
            }
        }
        frames.push_back(std::move(entry));
    }
    return true;
}

const TANINCFrame* FindAnimation(const TANINC& list, const std::string& name) {
    for (const TANINCFrame& entry : list.frames) {
        if (entry.name == name) return &entry;
    }
    const auto sameIgnoringCase = [&name](const std::string& other) {
        return std::equal(name.begin(), name.end(), other.begin(), other.end(),
                          [](unsigned char a, unsigned char b) {
                              return std::tolower(a) == std::tolower(b);
                          });
    };
    for (const TANINCFrame& entry : list.frames) {
        if (sameIgnoringCase(entry.name)) return &entry;
    }
    return nullptr;
}

std::string AnincPathFor(const std::string& mdxPath) {
    const std::string listed = std::filesystem::path(mdxPath).replace_extension(".aninc").string();
    return FindFileIgnoringCase(listed).value_or(listed);
}
