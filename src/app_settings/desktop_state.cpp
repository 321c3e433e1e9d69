#include "app_settings/desktop_state.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "io/ini_file.h"

namespace {

constexpr std::string_view kWindow = "Window";
constexpr std::string_view kRecent = "RecentModels";
constexpr std::string_view kFolders = "DialogFolders";

// A tab cannot be in a file name on any system this runs on, so it parts the fields.
constexpr char kSeparator = '\t';

constexpr std::array<std::pair<TRecentModel::Source, std::string_view>, 3> kSources = {{
    {TRecentModel::Source::File, "file"},
    {TRecentModel::Source::Game, "game"},
    {TRecentModel::Source::Pk3, "pk3"},
}};

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kSeparator, start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

// A dialog title as a key: the profile's keys cannot hold "=" or a line break. (A title that
// starts with "[" or ";" is not kept; the program has none.)
std::string FolderKey(const std::string& title) {
    std::string key;
    for (const char c : title)
        if (c != '=' && c != '\r' && c != '\n') key += c;
    return key;
}

// Nothing is added to a profile that has nothing to remember yet, so a new file holds the
// settings alone; what was remembered before is still cleared.
void WriteValue(TIniFile& ini, std::string_view section, std::string_view key,
                const std::string& value) {
    if (!value.empty() || ini.ValueExists(section, key)) ini.WriteString(section, key, value);
}

void WriteList(TIniFile& ini, std::string_view section, const TIniFile::KeyValues& entries) {
    if (!entries.empty() || ini.SectionExists(section)) ini.WriteSection(section, entries);
}

}  // namespace

std::string RecentModelText(const TRecentModel& model) {
    std::string text;
    for (const auto& [source, name] : kSources)
        if (source == model.source) text = name;
    text += kSeparator;
    text += model.archive;
    for (const std::string& path : model.paths) {
        text += kSeparator;
        text += path;
    }
    return text;
}

std::optional<TRecentModel> RecentModelFromText(const std::string& text) {
    const std::vector<std::string> fields = Fields(text);
    if (fields.size() < 3) return std::nullopt;
    const auto source = std::find_if(kSources.begin(), kSources.end(),
                                     [&](const auto& s) { return s.second == fields[0]; });
    if (source == kSources.end()) return std::nullopt;
    TRecentModel model;
    model.source = source->first;
    model.archive = fields[1];
    model.paths.assign(fields.begin() + 2, fields.end());
    const bool emptyPath = std::any_of(model.paths.begin(), model.paths.end(),
                                       [](const std::string& p) { return p.empty(); });
    if (emptyPath || (model.source == TRecentModel::Source::Pk3) == model.archive.empty())
        return std::nullopt;
    return model;
}

void AddRecentModel(std::vector<TRecentModel>& list, const TRecentModel& model) {
    list.erase(std::remove(list.begin(), list.end(), model), list.end());
    list.insert(list.begin(), model);
    if (list.size() > kMaxRecentModels) list.resize(kMaxRecentModels);
}

TDesktopState DesktopStateFromIni(const TIniFile& ini) {
    TDesktopState state;
    for (const auto& [key, value] : ini.ReadSectionValues(kRecent)) {
        if (state.recent.size() == kMaxRecentModels) break;
        if (auto model = RecentModelFromText(value)) state.recent.push_back(std::move(*model));
    }
    state.windowGeometry = ini.ReadString(kWindow, "Geometry", "");
    state.splitter = ini.ReadString(kWindow, "Splitter", "");
    state.tab = ini.ReadString(kWindow, "Tab", "");
    state.openingView = ini.ReadString(kWindow, "OpeningView", "");
    state.screenshotFolder = ini.ReadString(kWindow, "ScreenshotFolder", "");
    for (auto& [key, value] : ini.ReadSectionValues(kFolders))
        if (!value.empty()) state.dialogFolders[key] = std::move(value);
    return state;
}

void WriteDesktopState(TIniFile& ini, const TDesktopState& state) {
    TIniFile::KeyValues recent;
    for (const TRecentModel& model : state.recent) {
        const std::string text = RecentModelText(model);
        if (TIniFile::IsStorableValue(text))
            recent.emplace_back("Model" + std::to_string(recent.size()), text);
    }
    WriteList(ini, kRecent, recent);
    WriteValue(ini, kWindow, "Geometry", state.windowGeometry);
    WriteValue(ini, kWindow, "Splitter", state.splitter);
    WriteValue(ini, kWindow, "Tab", state.tab);
    WriteValue(ini, kWindow, "OpeningView", state.openingView);
    WriteValue(ini, kWindow, "ScreenshotFolder", state.screenshotFolder);
    TIniFile::KeyValues folders;
    for (const auto& [title, folder] : state.dialogFolders) {
        const std::string key = FolderKey(title);
        if (TIniFile::IsStorableKey(key) && TIniFile::IsStorableValue(folder))
            folders.emplace_back(key, folder);
    }
    WriteList(ini, kFolders, folders);
}
