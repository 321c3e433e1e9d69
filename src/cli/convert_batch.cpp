#include "cli/convert_batch.h"

#include <filesystem>
#include <set>

#include "assets/archive_entry_ref.h"
#include "cli/cli_error.h"
#include "io/file_names.h"

namespace fs = std::filesystem;

std::string ConvertedFileName(const std::string& input) {
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(input);
    fs::path name = fs::path(ref ? ref->entry : input).filename();
    const std::string ext = UpperCaseExtension(name.string());
    if (ext == ".MAP" || ext == ".MS3D" || ext == ".ASE" || ext == ".GLB" || ext == ".GLTF" ||
        ext == ".MD3") {
        name.replace_extension(".md3");
    } else if (ext == ".MDC") {
        name.replace_extension(".mdc");
    } else if (ext == ".MDM" || ext == ".MDX") {
        name.replace_extension(ext == ".MDM" ? ".mdm" : ".mdx");
    }
    return name.string();
}

int RunConvertFiles(const std::vector<std::string>& files, const std::string& outDir,
                    std::ostream& err, const TConvertOptions& options) {
    if (outDir.empty()) {
        if (files.size() != 2)
            throw UsageError("convert takes IN OUT, or any number of inputs with --out-dir DIR");
        return RunConvert(files[0], files[1], err, options);
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    std::set<std::string> written;
    bool allWritten = true;
    for (const std::string& input : files) {
        try {
            const std::string output = (fs::path(outDir) / ConvertedFileName(input)).string();
            // A model converted into its own folder would replace the file being read.
            if (fs::equivalent(input, output, ec) || !written.insert(output).second) {
                throw UsageError("Cannot convert \"" + input + "\": \"" + output +
                                 "\" is its input or another input's output");
            }
            RunConvert(input, output, err, options);
        } catch (const std::exception& e) {
            ReportError(err, e.what());
            allWritten = false;
        }
    }
    return allWritten ? 0 : kExitFailure;
}
