#include "app_settings/app_settings.h"

#include <filesystem>
#include <string_view>

#include "io/file_error.h"
#include "io/ini_file.h"

namespace {

constexpr std::string_view kGame = "Game";
constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kShaderList = "ShaderList";
constexpr std::string_view kPAKsList = "PAKsList";
constexpr std::string_view kTexturing = "Texturing";
constexpr std::string_view kView = "View";
constexpr std::string_view kSkyBox = "SkyBox";

struct ViewKey {
    std::string_view key;
    bool TAppSettings::*flag;
};

// In the order they are written.
constexpr ViewKey kViewKeys[] = {
    {"AlphaTexturePreview", &TAppSettings::alphaTexturePreview},
    {"ShowSkeleton", &TAppSettings::showSkeleton},
    {"ShowTags", &TAppSettings::showTags},
    {"Lighting", &TAppSettings::lighting},
    {"CenterModel", &TAppSettings::centerModel},
    {"WireFrame", &TAppSettings::wireFrame},
    {"TwoSided", &TAppSettings::twoSided},
    {"FlatShading", &TAppSettings::flatShading},
    {"Groundplane", &TAppSettings::groundplane},
    {"Axis", &TAppSettings::axis},
    {"MouseControl", &TAppSettings::mouseControl},
};

constexpr std::uint32_t kMaxColor = 0xFFFFFF;

void Report(std::string* out, const std::string& text) {
    if (out != nullptr) *out = text;
}

std::vector<std::string> NonEmptyValues(const TIniFile& ini, std::string_view section) {
    std::vector<std::string> values;
    for (auto& [key, value] : ini.ReadSectionValues(section))
        if (!value.empty()) values.push_back(std::move(value));
    return values;
}

// Entries a line cannot hold would come back cut in two, so they are left out, and the
// numbering stays without gaps.
TIniFile::KeyValues Numbered(std::string_view prefix, const std::vector<std::string>& values) {
    TIniFile::KeyValues entries;
    for (const std::string& value : values)
        if (!value.empty() && TIniFile::IsStorableValue(value))
            entries.emplace_back(std::string(prefix) + std::to_string(entries.size()), value);
    return entries;
}

std::uint32_t ReadColor(const TIniFile& ini, std::string_view key, std::uint32_t defaultValue) {
    const std::int64_t value = ini.ReadInteger(kSkyBox, key, defaultValue);
    return value >= 0 && value <= kMaxColor ? static_cast<std::uint32_t>(value) : defaultValue;
}

}  // namespace

std::string SettingsFileFor(const std::string& executablePath) {
    return executablePath + ".ini";
}

TAppSettings LoadAppSettings(const std::string& fileName, std::string* problem) {
    TAppSettings settings;
    TIniFile ini;
    try {
        if (!ini.LoadFromFile(fileName)) {
            Report(problem, "Cannot read file \"" + fileName + "\": " + ini.LastError());
            return settings;
        }
    } catch (const FileError& e) {
        Report(problem, e.what());
        return settings;
    }
    return AppSettingsFromIni(ini);
}

TAppSettings AppSettingsFromIni(const TIniFile& ini) {
    TAppSettings settings;
    settings.gameDir = ini.ReadString(kGame, "GameDir", "");
    settings.shaderList = NonEmptyValues(ini, kShaderList);
    settings.paksList = NonEmptyValues(ini, kPAKsList);
    // Textures are scaled by the factor: zero or less would blacken or invert them.
    const double gamma = ini.ReadFloat(kTexturing, "Gamma", settings.gamma);
    if (gamma > 0) settings.gamma = gamma;
    for (const ViewKey& view : kViewKeys)
        settings.*view.flag = ini.ReadBool(kView, view.key, settings.*view.flag);
    settings.skyBoxEnabled = ini.ReadBool(kSkyBox, "Enabled", settings.skyBoxEnabled);
    settings.skyColorTop = ReadColor(ini, "ColorTop", settings.skyColorTop);
    settings.skyColorBottom = ReadColor(ini, "ColorBottom", settings.skyColorBottom);
    settings.desktop = DesktopStateFromIni(ini);
    return settings;
}

bool SaveAppSettings(const std::string& fileName, const TAppSettings& settings,
                     std::string* error) {
    TIniFile ini;
    if (!ini.LoadFromFile(fileName)) {
        Report(error, "Cannot read file \"" + fileName + "\": " + ini.LastError());
        return false;
    }
    WriteAppSettings(ini, settings);
    if (ini.SaveToFile(fileName)) return true;
    Report(error, ini.LastError());
    return false;
}

void WriteAppSettings(TIniFile& ini, const TAppSettings& settings) {
    ini.WriteString(kGame, "GameDir", settings.gameDir);
    ini.WriteBool(kSettings, "Cleanup", true);
    ini.WriteSection(kShaderList, Numbered(kShaderList, settings.shaderList));
    ini.WriteSection(kPAKsList, Numbered(kPAKsList, settings.paksList));
    ini.WriteFloat(kTexturing, "Gamma", settings.gamma);
    for (const ViewKey& view : kViewKeys)
        ini.WriteBool(kView, view.key, settings.*view.flag);
    ini.WriteBool(kSkyBox, "Enabled", settings.skyBoxEnabled);
    ini.WriteInteger(kSkyBox, "ColorTop", settings.skyColorTop);
    ini.WriteInteger(kSkyBox, "ColorBottom", settings.skyColorBottom);
    WriteDesktopState(ini, settings.desktop);
}

std::string UsableGameDir(const std::string& gameDir) {
    std::error_code ec;
    return !gameDir.empty() && std::filesystem::is_directory(gameDir, ec) ? gameDir : std::string();
}
