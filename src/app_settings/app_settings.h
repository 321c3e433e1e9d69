// The user's choices carried from one run to the next, kept in a profile file beside the
// executable. Loading never fails: whatever is missing or unreadable takes its default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app_settings/desktop_state.h"

class TIniFile;

// Packed red + 256 * green + 65536 * blue, as the scene drawing takes them.
inline constexpr std::uint32_t kDefaultSkyColorTop = 13339492;     // 100, 139, 203
inline constexpr std::uint32_t kDefaultSkyColorBottom = 15780518;  // 166, 202, 240

struct TAppSettings {
    // As stored; UsableGameDir tells whether it can be used.
    std::string gameDir;
    std::vector<std::string> shaderList;
    // File paths of the game archives, in list order.
    std::vector<std::string> paksList;
    // The texture store takes it as a float; kept as read so that a hand-set 2.2 stays 2.2.
    double gamma = 1.0;

    bool alphaTexturePreview = true;
    bool showSkeleton = true;
    bool showTags = true;
    bool lighting = true;
    bool centerModel = true;
    bool wireFrame = false;
    bool twoSided = false;
    bool flatShading = false;
    bool groundplane = false;
    bool axis = false;
    bool mouseControl = false;

    bool skyBoxEnabled = true;
    std::uint32_t skyColorTop = kDefaultSkyColorTop;
    std::uint32_t skyColorBottom = kDefaultSkyColorBottom;

    TDesktopState desktop;

    bool operator==(const TAppSettings&) const = default;
};

// The settings file of a program: its full file name with ".ini" appended, so that
// /opt/veldra/veldra keeps its settings in /opt/veldra/veldra.ini.
std::string SettingsFileFor(const std::string& executablePath);

// Defaults for a missing file and for every missing or unreadable value; empty list entries
// are dropped. When the file exists but cannot be read, `problem` (if given) gets the reason
// and every setting is its default.
TAppSettings LoadAppSettings(const std::string& fileName, std::string* problem = nullptr);
// The settings a profile read holds, with defaults as above.
TAppSettings AppSettingsFromIni(const TIniFile& ini);

// Writes every setting, keeping the file's other sections and keys where they are; the two
// lists replace whatever their sections held, numbered from 0, without empty entries. A
// new file gets the sections Game, Settings, ShaderList, PAKsList, Texturing, View, SkyBox.
// The old file is replaced only once the new one is complete. Throws FileError when the
// existing file cannot be opened (it is then left alone, as its other contents could not be
// kept) or the new one cannot be created; other failures give false with the reason in
// `error` (if given).
bool SaveAppSettings(const std::string& fileName, const TAppSettings& settings,
                     std::string* error = nullptr);
// Writes every setting into a profile as SaveAppSettings does before it saves the file.
void WriteAppSettings(TIniFile& ini, const TAppSettings& settings);

// `gameDir` when it names an existing folder, otherwise empty: a game folder that went away
// since the last run counts as none.
std::string UsableGameDir(const std::string& gameDir);
