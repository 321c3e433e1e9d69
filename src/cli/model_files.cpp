#include "cli/model_files.h"

#include <cstring>

#include "cli/cli_error.h"
#include "io/binary_file.h"
#include "io/file_names.h"

ModelFormat FormatFromExtension(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    if (ext == ".MD3") return ModelFormat::MD3;
    if (ext == ".TAG") return ModelFormat::Tag;
    return ModelFormat::Unknown;
}

ModelFormat DetectInputFormat(const std::string& path) {
    const ModelFormat byName = FormatFromExtension(path);
    if (byName != ModelFormat::Unknown) return byName;
    char ident[4] = {};
    const BinaryFile file(path);
    if (!file.ReadAt(0, ident, sizeof ident)) return ModelFormat::Unknown;
    if (std::memcmp(ident, kMD3Ident, 4) == 0) return ModelFormat::MD3;
    if (std::memcmp(ident, kTagFileIdent, 4) == 0) return ModelFormat::Tag;
    return ModelFormat::Unknown;
}

void LoadMD3OrThrow(TMD3& model, const std::string& path) {
    if (!model.LoadFromFile(path)) {
        const std::string reason = model.LastError();
        model.Clear();
        throw CliError("Cannot load \"" + path + "\": " + reason);
    }
}
