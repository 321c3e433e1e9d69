#include "assets/archive_names.h"

#include <algorithm>
#include <vector>

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// '*' matches any run of characters and '?' one character, without regard to case. Greedy
// with one backtrack point, so the cost stays linear in practice and at worst quadratic.
bool MatchesComponent(std::string_view mask, std::string_view text) {
    std::size_t m = 0, t = 0;
    std::size_t starMask = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (m < mask.size() && (mask[m] == '?' || LowerAscii(mask[m]) == LowerAscii(text[t]))) {
            ++m;
            ++t;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starText = t;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::vector<std::string_view> SplitAtSlashes(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '/') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::size_t ExtensionDot(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string_view::npos;
    if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
    return dot;
}

}  // namespace

std::string NormalizedEntryName(std::string_view stored) {
    std::string name(stored);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string LowerCaseAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view FolderPart(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : name.substr(0, slash + 1);
}

std::string_view FileNamePart(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool MatchesArchiveMask(std::string_view mask, std::string_view name) {
    const std::string normalMask = NormalizedEntryName(mask);
    if (normalMask.find('/') == std::string::npos)
        return MatchesComponent(normalMask, FileNamePart(name));
    const std::vector<std::string_view> maskParts = SplitAtSlashes(normalMask);
    const std::vector<std::string_view> nameParts = SplitAtSlashes(name);
    // matched[j]: the mask parts so far match the first j name parts. A "**" part matches
    // any number of whole folders, so one pass per mask part keeps the cost at parts x parts.
    std::vector<char> matched(nameParts.size() + 1, 0);
    matched[0] = 1;
    for (std::string_view part : maskParts) {
        std::vector<char> next(nameParts.size() + 1, 0);
        for (std::size_t j = 0; j <= nameParts.size(); ++j) {
            if (part == "**") {
                next[j] = matched[j] || (j > 0 && next[j - 1]);
            } else if (j > 0) {
                next[j] = matched[j - 1] && MatchesComponent(part, nameParts[j - 1]);
            }
        }
        matched = std::move(next);
    }
    return matched[nameParts.size()] != 0;
}

std::string WithExtension(std::string_view name, std::string_view extension) {
    return WithoutExtension(name) + std::string(extension);
}

std::string WithoutExtension(std::string_view name) {
    const std::size_t dot = ExtensionDot(name);
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}
