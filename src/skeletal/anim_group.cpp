#include "skeletal/anim_group.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>

#include "io/file_bytes.h"
#include "io/path_case.h"
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

// Where an error was met: "line 4" of the group, or "\"x.aninc\" line 4" of a file it
// includes.
std::string Place(const std::string& source, int line) {
    return (source.empty() ? "" : "\"" + source + "\" ") + "line " + std::to_string(line);
}

TAnimGroupParse Failure(const std::string& place, const std::string& what) {
    TAnimGroupParse result;
    result.error = place + ": " + what;
    return result;
}

// The game reads groups with its script precompiler, whose include stack is this deep; a
// file that includes itself stops here.
constexpr int kMaxIncludeDepth = 4;
// A group includes one list per animation file, a dozen in the game's; many more would only
// multiply the work of a hostile file.
constexpr int kMaxIncludes = 256;

class TGroupReader {
  public:
    explicit TGroupReader(const TAnimGroupInclude& include) : include_(include) {}

    // Adds the entries of `text` (the group, or a file it includes, named `source`) to the
    // result; false with the error in it.
    bool Read(const std::string& text, const std::string& source, int depth) {
        int lineNumber = 0;
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
            std::erase_if(tokens, [](std::string_view t) {
                return t == "{" || t == "}" || t == "animgroup";
            });
            if (tokens.empty()) continue;
            const std::string place = Place(source, lineNumber);
            if (tokens.size() == 2 && tokens[0] == "animfile") {
                result.files.push_back({Unquoted(tokens[1]), {}});
            } else if (tokens.size() == 2 && tokens[0] == "#include") {
                if (!Include(Unquoted(tokens[1]), place, depth)) return false;
            } else if (!Entry(tokens, line, place)) {
                return false;
            }
        }
        return true;
    }

    TAnimGroupParse result;
    bool entries = false;

  private:
    bool Include(const std::string& path, const std::string& place, int depth) {
        if (depth >= kMaxIncludeDepth) {
            result = Failure(place, "includes nested deeper than " +
                                        std::to_string(kMaxIncludeDepth) + " (\"" + path + "\")");
            return false;
        }
        if (++includes_ > kMaxIncludes) {
            result = Failure(place, "more than " + std::to_string(kMaxIncludes) + " includes");
            return false;
        }
        const std::optional<std::string> text = include_ ? include_(path) : std::nullopt;
        if (!text) {
            result = Failure(place, "the included \"" + path + "\" is not found");
            return false;
        }
        return Read(*text, path, depth + 1);
    }

    // "name first length looping fps moveSpeed transition reversed [priority]": the game's
    // own lists end at "reversed", later ones add the priority.
    bool Entry(const std::vector<std::string_view>& tokens, std::string_view line,
               const std::string& place) {
        if (tokens.size() != 8 && tokens.size() != 9) {
            result = Failure(place, "unexpected \"" + std::string(line) + "\"");
            return false;
        }
        if (result.files.empty()) {
            result = Failure(place, "an animation outside an animfile block");
            return false;
        }
        TANINCFrame entry;
        entry.name = std::string(tokens[0]);
        std::int32_t priority = 0;  // the game's choice between animations; not shown
        std::int32_t* const fields[8] = {
            &entry.firstFrame, &entry.numFrames,  &entry.looping,  &entry.framesPerSecond,
            &entry.moveSpeed,  &entry.transition, &entry.reversed, &priority};
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            const bool rate = fields[i] == &entry.framesPerSecond;
            if (!ParseField(tokens[i + 1], rate, *fields[i])) {
                std::string what = "\"";
                what.append(tokens[i + 1]);
                what.append(rate ? "\" is not a number" : "\" is not a whole number");
                result = Failure(place, what);
                return false;
            }
        }
        result.files.back().animations.frames.push_back(std::move(entry));
        entries = true;
        return true;
    }

    const TAnimGroupInclude& include_;
    int includes_ = 0;
};

// A group file is at most this large.
bool ReadText(const std::string& path, std::string& text, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxFileBytes, bytes, error)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

}  // namespace

TAnimGroupParse ParseAnimGroup(const std::string& text, const TAnimGroupInclude& include) {
    TGroupReader reader(include);
    if (!reader.Read(text, "", 0)) return std::move(reader.result);
    if (!reader.entries) {
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) +
                          (text.empty() || text.back() == '\n' ? 0 : 1);
        return Failure(Place("", std::max(lines, 1)), "the group holds no animation");
    }
    reader.result.ok = true;
    return std::move(reader.result);
}

TAnimGroupInclude IncludesBeside(const std::string& groupFile) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::absolute(fs::path(groupFile)).parent_path();
    return [folder](const std::string& gamePath) -> std::optional<std::string> {
        std::optional<std::string> found;
        for (fs::path at = folder; !found; at = at.parent_path()) {
            found = FindFileIgnoringCase((at / gamePath).lexically_normal().string());
            if (at == at.parent_path()) break;
        }
        if (!found) found = FindFileIgnoringCase((folder / fs::path(gamePath).filename()).string());
        std::string text, error;
        if (!found || !ReadText(*found, text, error)) return std::nullopt;
        return text;
    };
}

TAnimGroupParse LoadAnimGroup(const std::string& fileName, const TAnimGroupInclude& include) {
    std::string text, error;
    if (!ReadText(fileName, text, error)) {
        TAnimGroupParse result;
        result.error = "\"" + fileName + "\": " + error;
        return result;
    }
    TAnimGroupParse result = ParseAnimGroup(text, include ? include : IncludesBeside(fileName));
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
