#include "cli/model_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/cli_error.h"

namespace {

std::string UpperExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ext;
}

}  // namespace

ModelFormat FormatFromExtension(const std::string& path) {
    const std::string ext = UpperExtension(path);
    if (ext == ".MD3") return ModelFormat::MD3;
    return ModelFormat::Unknown;
}

ModelFormat DetectInputFormat(const std::string& path) {
    const ModelFormat byName = FormatFromExtension(path);
    if (byName != ModelFormat::Unknown) return byName;
    char ident[4] = {};
    std::ifstream in(path, std::ios::binary);
    if (in.read(ident, sizeof ident) && std::memcmp(ident, kMD3Ident, 4) == 0) {
        return ModelFormat::MD3;
    }
    return ModelFormat::Unknown;
}

void LoadMD3OrThrow(TMD3& model, const std::string& path) {
    if (!model.LoadFromFile(path)) {
        const std::string reason = model.LastError();
        model.Clear();
        throw CliError("Cannot load \"" + path + "\": " + reason);
    }
}
