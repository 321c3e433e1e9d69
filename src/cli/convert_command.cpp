#include "cli/convert_command.h"

#include <filesystem>

#include "cli/cli_error.h"
#include "cli/model_files.h"

int RunConvert(const std::string& input, const std::string& output) {
    const ModelFormat target = FormatFromExtension(output);
    if (target != ModelFormat::MD3) {
        throw UsageError("Cannot write \"" + output + "\": unsupported output format \"" +
                         std::filesystem::path(output).extension().string() +
                         "\" (supported: .md3)");
    }
    TMD3 model;
    switch (DetectInputFormat(input)) {
        case ModelFormat::MD3:
            LoadMD3OrThrow(model, input);
            break;
        case ModelFormat::Tag:
            throw CliError("Cannot load \"" + input + "\": a tag file holds no model");
        case ModelFormat::Unknown:
            throw CliError("Cannot load \"" + input + "\": unknown or unsupported model format");
    }
    if (!model.SaveToFile(output)) {
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    }
    return 0;
}
