#include "cli/model_files.h"

#include <cstring>

#include "cli/cli_error.h"
#include "cli/model_source.h"
#include "io/binary_file.h"
#include "io/file_names.h"
#include "mdc/mdc_format.h"
#include "skeletal/mdm_format.h"
#include "skeletal/mdx_format.h"

ModelFormat FormatFromExtension(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    // A compressed model reads into and writes from the same model as an MD3.
    if (ext == ".MD3" || ext == ".MDC") return ModelFormat::MD3;
    if (ext == ".TAG") return ModelFormat::Tag;
    if (ext == ".MDM") return ModelFormat::MDM;
    if (ext == ".MDX") return ModelFormat::MDX;
    if (ext == ".ANINC") return ModelFormat::ANINC;
    return ModelFormat::Unknown;
}

ModelFormat DetectInputFormat(const std::string& path) {
    const ModelFormat byName = FormatFromExtension(path);
    if (byName != ModelFormat::Unknown) return byName;
    char ident[4] = {};
    const TModelSource source(path);
    const BinaryFile file(source.File());
    if (!file.ReadAt(0, ident, sizeof ident)) return ModelFormat::Unknown;
    if (std::memcmp(ident, kMD3Ident, 4) == 0 || std::memcmp(ident, kMDCIdent, 4) == 0)
        return ModelFormat::MD3;
    if (std::memcmp(ident, kTagFileIdent, 4) == 0) return ModelFormat::Tag;
    if (std::memcmp(ident, kMDMIdent, 4) == 0) return ModelFormat::MDM;
    if (std::memcmp(ident, kMDXIdent, 4) == 0) return ModelFormat::MDX;
    return ModelFormat::Unknown;
}

namespace {

[[noreturn]] void ThrowLoadError(TMD3& model, const std::string& path) {
    const std::string reason = model.LastError();
    model.Clear();
    throw CliError("Cannot load \"" + path + "\": " + reason);
}

}  // namespace

void LoadMD3OrThrow(TMD3& model, const std::string& path, int level) {
    const TModelSource source(path, level);
    if (!model.LoadFromFile(source.File())) ThrowLoadError(model, path);
}

void LoadMD3LayoutOrThrow(TMD3& model, const std::string& path) {
    const TModelSource source(path);
    if (!model.LoadLayoutFromFile(source.File())) ThrowLoadError(model, path);
}
