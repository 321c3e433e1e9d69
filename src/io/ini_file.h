// A Windows-style profile file ("[Section]" lines, then "key=value" lines) that is written
// back exactly as it was read apart from the values changed: sections, keys, comments and
// stray lines keep their order, spelling and place. Section and key names match without
// regard to ASCII case; a name keeps the spelling it was first read or written with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TIniFile {
  public:
    // Larger files are refused: no settings file comes near this, and reading one must not
    // take all memory.
    static constexpr std::int64_t kMaxFileBytes = 4 << 20;

    using KeyValues = std::vector<std::pair<std::string, std::string>>;

    // A missing file gives an empty profile. Throws FileError when the file exists but cannot
    // be opened; one that is too large or cannot be read gives false with the reason in
    // LastError() and leaves the profile empty.
    bool LoadFromFile(const std::string& fileName);
    // Replaces the profile with the one in `text`. A UTF-8 byte order mark, any line ends,
    // blanks around names and values, lines without "=" and very long lines are all taken.
    void LoadFromText(std::string_view text);

    // The profile as it is written: lines end in LF, a byte order mark read is kept, and a
    // blank line comes before each section added.
    std::string ToText() const;
    // Replaces the file only once everything was written. Throws FileError when it cannot be
    // created; a write error gives false with the reason in LastError().
    bool SaveToFile(const std::string& fileName);

    const std::string& LastError() const { return lastError_; }

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Of a key given twice, the first counts, here and in every read below.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Missing or unreadable values give the default.
    std::int64_t ReadInteger(std::string_view section, std::string_view key,
                             std::int64_t defaultValue) const;
    double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;
    // Stored as an integer; any non-zero integer is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // The section's keys in file order, each once, with the value it reads as.
    KeyValues ReadSectionValues(std::string_view section) const;
    std::vector<std::string> ReadSection(std::string_view section) const;

    // Replaces the value where the key stands, or adds the key at the end of its section, or
    // adds the section at the end of the file. False, and nothing changed, when the name or
    // the value cannot be stored (see IsStorableKey and IsStorableValue).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    // Written in the shortest form that reads back exactly; false for NaN and infinities.
    bool WriteFloat(std::string_view section, std::string_view key, double value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    // The section then holds exactly `entries`, in order, and stays where it was in the file
    // (added at the end when missing). False, and nothing changed, when a name or value
    // cannot be stored or a key is given twice.
    bool WriteSection(std::string_view section, const KeyValues& entries);
    // Removes every "[section]" block of that name with all its lines.
    void EraseSection(std::string_view section);

    // A line holds one name or value, and a line that opens with "[" starts a section.
    static bool IsStorableSection(std::string_view section);
    static bool IsStorableKey(std::string_view key);
    static bool IsStorableValue(std::string_view value);

  private:
    struct Line {
        std::string text;   // as written back
        std::string key;    // empty for lines that hold no key
        std::string value;  // decoded
    };
    struct Section {
        std::string name;
        std::string header;
        std::vector<Line> lines;
        // Set apart from what comes before by a blank line, as a reader would expect.
        bool added = false;
    };

    Section* FindSection(std::string_view section);
    const Line* FindKey(std::string_view section, std::string_view key) const;
    Line* FindKey(std::string_view section, std::string_view key);
    Section& AddSection(std::string_view section);
    static std::vector<Line>::iterator TrailingBlanks(std::vector<Line>& lines);
    static void InsertBeforeTrailingBlanks(Section& section, Line line);
    static Line KeyLine(std::string_view key, std::string_view value);

    bool byteOrderMark_ = false;
    // Lines before the first section; no reader looks up keys there.
    std::vector<Line> preamble_;
    // A name given in several blocks keeps all of them, in file order.
    std::vector<Section> sections_;
    std::string lastError_;
};
