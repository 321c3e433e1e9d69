#include "skeletal/anim_group.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "io/file_bytes.h"
#include "skeletal/text_tokens.h"

namespace {

// A group is a few hundred lines; anything this large is not one.
constexpr std::int64_t kMaxFileBytes = 16 << 20;

bool ParseNumber(std::string_view token, double& value) {
    if (token.size() > 1 && token.front() == '+') token.remove_prefix(1);
    const char* end = token.data() + token.size();
    const auto [stop, error] = std::from_chars(token.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

// A 32-bit integer; a rate may be fractional and is rounded to the nearest.
bool ParseField(std::string_view token, bool rate, std::int32_t& value) {
    double number = 0.0;
    if (!ParseNumber(token, number)) return false;
    const double rounded = std::round(number);
    if (!rate && rounded != number) return false;
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(rounded);
    return true;
}

std::string Unquoted(std::string_view token) {
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
        token = token.substr(1, token.size() - 2);
    return std::string(token);
}

TAnimGroupParse Failure(int line, const std::string& what) {
    TAnimGroupParse result;
    result.error = "line " + std::to_string(line) + ": " + what;
    return result;
}

}  // namespace

TAnimGroupParse ParseAnimGroup(const std::string& text) {
    TAnimGroupParse result;
    int lineNumber = 0;
    bool entries = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line = TrimBlanks(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::size_t comment = line.find("//");
        if (comment != std::string_view::npos) line = TrimBlanks(line.substr(0, comment));
        // Blocks only group the entries: their braces and keyword may stand anywhere.
        std::vector<std::string_view> tokens = SplitTokens(line, " \t\r");
        std::erase_if(tokens,
                      [](std::string_view t) { return t == "{" || t == "}" || t == "animgroup"; });
        if (tokens.empty()) continue;
        if (tokens.size() == 2 && tokens[0] == "animfile") {
            result.files.push_back({Unquoted(tokens[1]), {}});
            continue;
        }
        if (tokens.size() != 9)
            return Failure(lineNumber, "unexpected \"" + std::string(line) + "\"");
        if (result.files.empty())
            return Failure(lineNumber, "an animation outside an animfile block");
        TANINCFrame entry;
        entry.name = std::string(tokens[0]);
        std::int32_t priority = 0;  // the game's choice between animations; not shown
        std::int32_t* const fields[8] = {
            &entry.firstFrame, &entry.numFrames,  &entry.looping,  &entry.framesPerSecond,
            &entry.moveSpeed,  &entry.transition, &entry.reversed, &priority};
        for (int i = 0; i < 8; ++i) {
            const bool rate = fields[i] == &entry.framesPerSecond;
            if (!ParseField(tokens[i + 1], rate, *fields[i])) {
                std::string what = "\"";
                what.append(tokens[i + 1]);
                what.append(rate ? "\" is not a number" : "\" is not a whole number");
                return Failure(lineNumber, what);
            }
        }
        result.files.back().animations.frames.push_back(std::move(entry));
        entries = true;
    }
    if (!entries) return Failure(lineNumber, "the group holds no animation");
    result.ok = true;
    return result;
}

TAnimGroupParse LoadAnimGroup(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxFileBytes, bytes, error)) {
        TAnimGroupParse result;
        result.error = "\"" + fileName + "\": " + error;
        return result;
    }
    TAnimGroupParse result = ParseAnimGroup(std::string(bytes.begin(), bytes.end()));
    if (!result.ok) result.error = "\"" + fileName + "\", " + result.error;
    return result;
}

std::optional<TGroupAnimation> FindGroupAnimation(const std::vector<TAnimGroupFile>& files,
                                                  const std::string& name) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const TANINCFrame* entry = FindAnimation(files[i].animations, name))
            return TGroupAnimation{i, entry};
    }
    return std::nullopt;
}
