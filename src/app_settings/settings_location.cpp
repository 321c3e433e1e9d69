#include "app_settings/settings_location.h"

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

bool CanWriteSettingsFile(const std::string& file) {
    std::error_code ec;
    if (fs::exists(file, ec)) return ::access(file.c_str(), W_OK) == 0;
    const fs::path folder = fs::path(file).parent_path();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

TSettingsFiles ChooseSettingsFiles(const std::string& besideProgram, const std::string& userFile,
                                   const std::function<bool(const std::string&)>& canWrite) {
    if (canWrite(besideProgram)) return {besideProgram, besideProgram};
    std::error_code ec;
    return {fs::exists(userFile, ec) ? userFile : besideProgram, userFile};
}

std::string ChooseWorkFolder(const std::string& programFolder, const std::string& userFolder,
                             const std::function<bool(const std::string&)>& canWrite) {
    return canWrite(programFolder) ? programFolder : userFolder;
}
