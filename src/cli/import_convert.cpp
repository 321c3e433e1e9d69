#include "cli/import_convert.h"

#include "cli/cli_error.h"
#include "cli/import_answers.h"
#include "import/ase.h"
#include "import/ms3d.h"
#include "io/file_names.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

void Warn(std::ostream& warnings, const std::string& input, const std::string& text) {
    if (!text.empty())
        warnings << "veldra-cli: warning: " << input << ": " << OnOneLine(text) << '\n';
}

[[noreturn]] void Refuse(const std::string& input, const std::string& reason) {
    throw CliError("Cannot convert \"" + input + "\": " + WithAnsweringOption(OnOneLine(reason)));
}

void ConvertMS3D(const std::string& input, TMD3& model, const TImportOptions& options,
                 std::ostream& warnings) {
    TMS3D ms3d;
    if (!ms3d.LoadMS3D(input))
        throw CliError("Cannot load \"" + input + "\": not a MilkShape 3D model");
    ms3d.settings = options.settings;
    TImportAnswers answers(options.scaleToFit, options.splitSurfaces);
    std::string message;
    if (!ms3d.ConvertMS3DToMD3(model, answers, message)) Refuse(input, message);
    Warn(warnings, input, message);
    Warn(warnings, input, ms3d.SkippedText());
}

void ConvertASE(const std::string& input, TMD3& model, const TImportOptions& options,
                std::ostream& warnings) {
    TASE ase;
    std::string message;
    if (!ase.LoadASE(input, message)) throw CliError("Cannot load \"" + input + "\": " + message);
    ase.settings = options.settings;
    TImportAnswers answers(options.scaleToFit, options.splitSurfaces);
    if (!ase.ConvertASEToMD3(model, answers, message)) Refuse(input, message);
    if (message != kASEConvertedText) Warn(warnings, input, message);
    Warn(warnings, input, ase.SkippedText());
}

}  // namespace

bool IsImportedModel(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    return ext == ".MS3D" || ext == ".ASE";
}

void ImportToMD3(const std::string& input, TMD3& model, const TImportOptions& options,
                 std::ostream& warnings) {
    if (UpperCaseExtension(input) == ".MS3D")
        ConvertMS3D(input, model, options, warnings);
    else
        ConvertASE(input, model, options, warnings);
}

int RunImportConvert(const std::string& input, const std::string& output,
                     const TImportOptions& options, std::ostream& warnings) {
    if (UpperCaseExtension(output) != ".MD3" && UpperCaseExtension(output) != ".MDC") {
        throw UnsupportedOutput(output, "imported models become .md3 or .mdc");
    }
    TMD3 model;
    ImportToMD3(input, model, options, warnings);
    if (!model.SaveToFile(output))
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    return 0;
}
