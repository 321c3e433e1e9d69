#include "cli/import_convert.h"

#include "cli/cli_error.h"
#include "cli/frames_option.h"
#include "cli/import_answers.h"
#include "import/ase.h"
#include "import/gltf_import.h"
#include "import/ms3d.h"
#include "io/file_names.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

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

TGltfImport LoadGltfOrThrow(const std::string& input, const TImportOptions& options) {
    TGltfImport gltf;
    std::string message;
    if (!gltf.LoadGltf(input, message)) throw CliError("Cannot load \"" + input + "\": " + message);
    gltf.choice.settings = options.settings;
    gltf.choice.animationName = options.animationName;
    if (!options.frames.empty()) {
        const TFramesOption range = ParseFramesOption(options.frames);
        gltf.choice.frames = TGltfFrameRange{range.first, range.last};
    }
    return gltf;
}

void ConvertGltf(const std::string& input, TMD3& model, const TImportOptions& options,
                 std::ostream& warnings) {
    TGltfImport gltf = LoadGltfOrThrow(input, options);
    TImportAnswers answers(options.scaleToFit, options.splitSurfaces);
    std::string message;
    if (!gltf.ConvertGltfToMD3(model, answers, message)) Refuse(input, message);
    Warn(warnings, input, message);
    Warn(warnings, input, gltf.SkippedText());
}

int RunGltfToMDM(const std::string& input, const std::string& output, const TImportOptions& options,
                 std::ostream& warnings) {
    if (options.mdxOutput.empty())
        throw UsageError("Cannot convert \"" + input +
                         "\": an MDM needs its animation: --mdx OUT.mdx");
    TGltfImport gltf = LoadGltfOrThrow(input, options);
    TMDM mesh;
    TMDX anim;
    std::string message;
    if (!gltf.ConvertGltfToMDM(mesh, anim, message)) Refuse(input, message);
    Warn(warnings, input, gltf.SkippedText());
    if (!mesh.SaveToFile(output))
        throw CliError("Cannot write \"" + output + "\": " + mesh.LastError());
    if (!anim.SaveToFile(options.mdxOutput))
        throw CliError("Cannot write \"" + options.mdxOutput + "\": " + anim.LastError());
    return 0;
}

}  // namespace

bool IsGltfModel(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    return ext == ".GLB" || ext == ".GLTF";
}

bool IsImportedModel(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    return ext == ".MS3D" || ext == ".ASE" || IsGltfModel(path);
}

void ImportToMD3(const std::string& input, TMD3& model, const TImportOptions& options,
                 std::ostream& warnings) {
    if (UpperCaseExtension(input) == ".MS3D")
        ConvertMS3D(input, model, options, warnings);
    else if (IsGltfModel(input))
        ConvertGltf(input, model, options, warnings);
    else
        ConvertASE(input, model, options, warnings);
}

int RunImportConvert(const std::string& input, const std::string& output,
                     const TImportOptions& options, std::ostream& warnings) {
    if (IsGltfModel(input) && UpperCaseExtension(output) == ".MDM")
        return RunGltfToMDM(input, output, options, warnings);
    if (!options.mdxOutput.empty())
        throw UsageError("Cannot convert \"" + input + "\": --mdx goes with an .mdm output");
    if (UpperCaseExtension(output) != ".MD3" && UpperCaseExtension(output) != ".MDC") {
        throw UnsupportedOutput(output, IsGltfModel(input)
                                            ? "glTF models become .md3, .mdc, or .mdm with --mdx"
                                            : "imported models become .md3 or .mdc");
    }
    TMD3 model;
    ImportToMD3(input, model, options, warnings);
    if (!model.SaveToFile(output))
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    return 0;
}
