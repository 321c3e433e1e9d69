// Feeds arbitrary bytes to the profile reader and to the program's settings on top of it:
// what is written must read back as the same text and the same settings, and a second save
// must change nothing.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app_settings/app_settings.h"
#include "io/file_error.h"
#include "io/ini_file.h"

namespace {

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) __builtin_trap();
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        text.append(buffer, got);
    std::fclose(f);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/veldra-fuzz-ini-" +
        std::to_string(::getpid()) + ".ini";
    if (!WriteFile(path, data, size)) return 0;

    try {
        TIniFile ini;
        if (!ini.LoadFromFile(path)) return 0;
        const std::string text = ini.ToText();
        TIniFile again;
        again.LoadFromText(text);
        if (again.ToText() != text) __builtin_trap();

        const TAppSettings first = LoadAppSettings(path);
        if (!SaveAppSettings(path, first)) return 0;
        const std::string saved = ReadFile(path);
        if (!(LoadAppSettings(path) == first)) __builtin_trap();
        if (!SaveAppSettings(path, first)) return 0;
        if (ReadFile(path) != saved) __builtin_trap();
    } catch (const FileError&) {
    }
    return 0;
}
