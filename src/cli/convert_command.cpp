#include "cli/convert_command.h"

#include <cmath>
#include <filesystem>

#include "cli/cli_error.h"
#include "cli/import_convert.h"
#include "cli/map_convert.h"
#include "cli/mds_files.h"
#include "cli/model_files.h"
#include "cli/skeletal_files.h"
#include "io/file_names.h"

namespace {

TGltfExporter installedGltfExporter = nullptr;

const char* FormatName(ModelFormat format) {
    switch (format) {
        case ModelFormat::MD3:
            return "an MD3 model";
        case ModelFormat::Tag:
            return "a tag file";
        case ModelFormat::MDM:
            return "an MDM mesh";
        case ModelFormat::MDX:
            return "an MDX animation";
        case ModelFormat::ANINC:
            return "an animation list";
        case ModelFormat::Unknown:
            break;
    }
    return "an unknown file";
}

[[noreturn]] void RefuseSource(const std::string& input, ModelFormat source,
                               const std::string& output) {
    if (source == ModelFormat::Unknown) {
        throw CliError("Cannot load \"" + input + "\": unknown or unsupported model format");
    }
    std::string reason = std::string(FormatName(source)) + " cannot be written as \"" +
                         std::filesystem::path(output).extension().string() + "\"";
    if (source == ModelFormat::MDM && FormatFromExtension(output) == ModelFormat::MD3) {
        reason += " (bake it with its animation)";
    }
    // What the file is was read; that it cannot become OUT is the command line's fault.
    throw UsageError("Cannot convert \"" + input + "\": " + reason);
}

}  // namespace

bool IsGltfFile(const std::string& path) {
    const std::string extension = UpperCaseExtension(path);
    return extension == ".GLB" || extension == ".GLTF";
}

void InstallGltfExporter(TGltfExporter exporter) {
    installedGltfExporter = exporter;
}

int RunConvert(const std::string& input, const std::string& output, std::ostream& warnings,
               const TConvertOptions& options) {
    if (IsGltfFile(output)) {
        if (installedGltfExporter == nullptr)
            throw CliError("Cannot write \"" + output + "\": this program writes no glTF");
        return installedGltfExporter(input, output, options, warnings);
    }
    if (options.fps != 0.0 || !options.skin.empty())
        throw UsageError("Cannot convert \"" + input +
                         "\": --fps and --skin apply to glTF exports only");
    const bool modelSettings =
        options.scale != 1.0f || options.up != "z" || !options.shaderPrefix.empty();
    if (modelSettings && !IsImportedModel(input))
        throw UsageError("Cannot convert \"" + input +
                         "\": --scale, --up and --shader-prefix apply to MilkShape, 3ds Max and "
                         "glTF models only");
    const bool gltfChoices =
        !options.animName.empty() || !options.frames.empty() || !options.mdx.empty();
    if (gltfChoices && !IsGltfModel(input) && !IsGltfModel(output))
        throw UsageError("Cannot convert \"" + input +
                         "\": --anim-name, --frames and --mdx apply to glTF models only");
    // glTF is Y-up by its own definition; the import always stands it up.
    if (IsGltfModel(input) && options.up != "z")
        throw UsageError("Cannot convert \"" + input +
                         "\": --up applies to MilkShape and 3ds Max models; glTF is always Y-up");
    if (IsMapFile(input))
        return RunMapConvert(
            input, output, {options.scaleToFit, options.gameDir, options.splitSurfaces}, warnings);
    // Only a map's texture projection needs the game's images; elsewhere the option would
    // change nothing in the file written.
    if (!options.gameDir.empty())
        throw UsageError("Cannot convert \"" + input +
                         "\": --game applies to maps (.map) and glTF exports only");
    if (options.scaleToFit && !IsImportedModel(input))
        throw UsageError("Cannot convert \"" + input +
                         "\": --scale-to-fit applies to imported models and maps only");
    if (options.splitSurfaces && !IsImportedModel(input))
        throw UsageError("Cannot convert \"" + input +
                         "\": --split-surfaces applies to imported models and maps only");
    if (IsImportedModel(input)) {
        if (!(options.scale > 0.0f) || !std::isfinite(options.scale))
            throw UsageError("Cannot convert \"" + input + "\": --scale must be above 0");
        if (options.up != "z" && options.up != "y")
            throw UsageError("Cannot convert \"" + input + "\": --up is y or z");
        TImportOptions import;
        import.scaleToFit = options.scaleToFit;
        import.splitSurfaces = options.splitSurfaces;
        import.animationName = options.animName;
        import.frames = options.frames;
        import.mdxOutput = options.mdx;
        import.settings.scale = options.scale;
        import.settings.yUp = options.up == "y";
        import.settings.shaderPrefix = options.shaderPrefix;
        return RunImportConvert(input, output, import, warnings);
    }
    if (IsMDSFile(input)) return ConvertMDSFile(input, output, warnings);
    const ModelFormat target = FormatFromExtension(output);
    if (target != ModelFormat::MD3 && target != ModelFormat::MDM && target != ModelFormat::MDX) {
        throw UnsupportedOutput(output, "supported: .md3, .mdc, .mdm, .mdx, .glb, .gltf");
    }
    const ModelFormat source = DetectInputFormat(input);
    if (source != target) RefuseSource(input, source, output);
    bool saved = false;
    std::string error;
    if (target == ModelFormat::MDM) {
        TMDM mesh;
        LoadMDMOrThrow(mesh, input, warnings);
        saved = mesh.SaveToFile(output);
        error = mesh.LastError();
    } else if (target == ModelFormat::MDX) {
        TMDX anim;
        LoadMDXOrThrow(anim, input);
        saved = anim.SaveToFile(output);
        error = anim.LastError();
    } else {
        TMD3 model;
        LoadMD3OrThrow(model, input);
        saved = model.SaveToFile(output);
        error = model.LastError();
    }
    if (!saved) throw CliError("Cannot write \"" + output + "\": " + error);
    return 0;
}
