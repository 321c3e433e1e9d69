#include "io/ini_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <unordered_set>

#include "io/atomic_file_writer.h"
#include "io/file_bytes.h"
#include "io/ini_values.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string Lowered(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

bool IsBlankLine(std::string_view text) {
    return TrimIniBlanks(text).empty();
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool TIniFile::IsStorableSection(std::string_view section) {
    return !section.empty() && TrimIniBlanks(section) == section && !HasLineBreak(section) &&
           section.find(']') == std::string_view::npos;
}

bool TIniFile::IsStorableKey(std::string_view key) {
    return !key.empty() && TrimIniBlanks(key) == key && !HasLineBreak(key) &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

bool TIniFile::IsStorableValue(std::string_view value) {
    return !HasLineBreak(value);
}

bool TIniFile::LoadFromFile(const std::string& fileName) {
    lastError_.clear();
    LoadFromText({});
    std::error_code ec;
    if (std::filesystem::status(fileName, ec).type() == std::filesystem::file_type::not_found)
        return true;
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(fileName, kMaxFileBytes, bytes, lastError_)) return false;
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

void TIniFile::LoadFromText(std::string_view text) {
    preamble_.clear();
    sections_.clear();
    byteOrderMark_ = text.starts_with(kByteOrderMark);
    if (byteOrderMark_) text.remove_prefix(kByteOrderMark.size());

    while (!text.empty()) {
        // CR LF, LF and a lone CR all end a line, so no value ever holds a line break and
        // every value read can be written back.
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view raw = text.substr(0, end);
        const bool crlf = text.substr(end).starts_with("\r\n");
        text.remove_prefix(std::min(end + (crlf ? 2 : 1), text.size()));

        const std::string_view trimmed = TrimIniBlanks(raw);
        if (trimmed.starts_with('[')) {
            const std::string_view name = trimmed.substr(1, trimmed.find(']', 1) - 1);
            sections_.push_back({std::string(TrimIniBlanks(name)), std::string(raw), {}, false});
            continue;
        }
        Line line{std::string(raw), {}, {}};
        const std::size_t equals = trimmed.find('=');
        if (!trimmed.starts_with(';') && equals != std::string_view::npos) {
            line.key = TrimIniBlanks(trimmed.substr(0, equals));
            line.value = DecodeIniValue(trimmed.substr(equals + 1));
        }
        (sections_.empty() ? preamble_ : sections_.back().lines).push_back(std::move(line));
    }
}

std::string TIniFile::ToText() const {
    std::string text;
    if (byteOrderMark_) text += kByteOrderMark;
    bool lastLineBlank = true;
    const auto put = [&](const std::string& line) {
        text += line;
        text += '\n';
        lastLineBlank = IsBlankLine(line);
    };
    for (const Line& line : preamble_)
        put(line.text);
    for (const Section& section : sections_) {
        if (section.added && !lastLineBlank) put({});
        put(section.header);
        for (const Line& line : section.lines)
            put(line.text);
    }
    return text;
}

bool TIniFile::SaveToFile(const std::string& fileName) {
    lastError_.clear();
    const std::string text = ToText();
    AtomicFileWriter writer(fileName);
    writer.Write(text.data(), text.size());
    if (writer.Commit()) return true;
    lastError_ = writer.error();
    return false;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return std::any_of(sections_.begin(), sections_.end(),
                       [section](const Section& s) { return SameName(s.name, section); });
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindKey(section, key) != nullptr;
}

const TIniFile::Line* TIniFile::FindKey(std::string_view section, std::string_view key) const {
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (const Line& line : s.lines)
            if (!line.key.empty() && SameName(line.key, key)) return &line;
    }
    return nullptr;
}

TIniFile::Line* TIniFile::FindKey(std::string_view section, std::string_view key) {
    return const_cast<Line*>(std::as_const(*this).FindKey(section, key));
}

TIniFile::Section* TIniFile::FindSection(std::string_view section) {
    for (Section& s : sections_)
        if (SameName(s.name, section)) return &s;
    return nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const Line* line = FindKey(section, key);
    return line != nullptr ? line->value : std::string(defaultValue);
}

std::int64_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int64_t defaultValue) const {
    const Line* line = FindKey(section, key);
    if (line == nullptr) return defaultValue;
    return ParseIniInteger(line->value).value_or(defaultValue);
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key,
                           double defaultValue) const {
    const Line* line = FindKey(section, key);
    if (line == nullptr) return defaultValue;
    return ParseIniFloat(line->value).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    const Line* line = FindKey(section, key);
    if (line == nullptr) return defaultValue;
    const auto value = ParseIniInteger(line->value);
    return value ? *value != 0 : defaultValue;
}

TIniFile::KeyValues TIniFile::ReadSectionValues(std::string_view section) const {
    KeyValues values;
    std::unordered_set<std::string> seen;
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (const Line& line : s.lines)
            if (!line.key.empty() && seen.insert(Lowered(line.key)).second)
                values.emplace_back(line.key, line.value);
    }
    return values;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    for (auto& [key, value] : ReadSectionValues(section))
        keys.push_back(std::move(key));
    return keys;
}

TIniFile::Line TIniFile::KeyLine(std::string_view key, std::string_view value) {
    std::string text(key);
    text += '=';
    text += EncodeIniValue(value);
    return {std::move(text), std::string(key), std::string(value)};
}

std::vector<TIniFile::Line>::iterator TIniFile::TrailingBlanks(std::vector<Line>& lines) {
    auto at = lines.end();
    while (at != lines.begin() && IsBlankLine((at - 1)->text))
        --at;
    return at;
}

void TIniFile::InsertBeforeTrailingBlanks(Section& section, Line line) {
    // The blank lines that part this section from the next stay after the new key.
    section.lines.insert(TrailingBlanks(section.lines), std::move(line));
}

TIniFile::Section& TIniFile::AddSection(std::string_view section) {
    sections_.push_back({std::string(section), Enclosed('[', section, ']'), {}, true});
    return sections_.back();
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableSection(section) || !IsStorableKey(key) || !IsStorableValue(value)) return false;
    if (Line* line = FindKey(section, key)) {
        *line = KeyLine(line->key, value);
        return true;
    }
    Section* target = FindSection(section);
    InsertBeforeTrailingBlanks(target != nullptr ? *target : AddSection(section),
                               KeyLine(key, value));
    return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    return std::isfinite(value) && WriteString(section, key, FormatIniFloat(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::WriteSection(std::string_view section, const KeyValues& entries) {
    if (!IsStorableSection(section)) return false;
    std::unordered_set<std::string> keys;
    for (const auto& [key, value] : entries)
        if (!IsStorableKey(key) || !IsStorableValue(value) || !keys.insert(Lowered(key)).second)
            return false;

    const auto first =
        std::find_if(sections_.begin(), sections_.end(),
                     [section](const Section& s) { return SameName(s.name, section); });
    if (first == sections_.end()) {
        Section& added = AddSection(section);
        for (const auto& [key, value] : entries)
            added.lines.push_back(KeyLine(key, value));
        return true;
    }
    // Later blocks of the same name would still be read, so they go too.
    sections_.erase(
        std::remove_if(first + 1, sections_.end(),
                       [section](const Section& s) { return SameName(s.name, section); }),
        sections_.end());
    std::vector<Line>& lines = first->lines;
    lines.erase(lines.begin(), TrailingBlanks(lines));
    std::vector<Line> written;
    for (const auto& [key, value] : entries)
        written.push_back(KeyLine(key, value));
    lines.insert(lines.begin(), std::make_move_iterator(written.begin()),
                 std::make_move_iterator(written.end()));
    return true;
}

void TIniFile::EraseSection(std::string_view section) {
    sections_.erase(
        std::remove_if(sections_.begin(), sections_.end(),
                       [section](const Section& s) { return SameName(s.name, section); }),
        sections_.end());
}
