// Feeds arbitrary bytes to the profile reader and to the program's settings on top of it:
// what is written must read back as the same text and the same settings, and a second save
// must change nothing. The profile's text is what saving writes to the file, so the round
// trips run on the text.
#include <cstdint>
#include <string>
#include <string_view>

#include "app_settings/app_settings.h"
#include "io/ini_file.h"

namespace {

// What saving the settings over a file of `text` writes.
std::string SavedText(std::string_view text, const TAppSettings& settings) {
    TIniFile ini;
    ini.LoadFromText(text);
    WriteAppSettings(ini, settings);
    return ini.ToText();
}

TAppSettings SettingsOf(std::string_view text) {
    TIniFile ini;
    ini.LoadFromText(text);
    return AppSettingsFromIni(ini);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > TIniFile::kMaxFileBytes) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TIniFile ini;
    ini.LoadFromText(input);
    const std::string text = ini.ToText();
    TIniFile again;
    again.LoadFromText(text);
    if (again.ToText() != text) __builtin_trap();

    const TAppSettings first = AppSettingsFromIni(ini);
    const std::string saved = SavedText(input, first);
    if (!(SettingsOf(saved) == first)) __builtin_trap();
    if (SavedText(saved, first) != saved) __builtin_trap();
    return 0;
}
