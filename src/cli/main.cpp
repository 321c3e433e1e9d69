// veldra-cli: the headless companion of Veldra for scripts and batch work.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/bake_command.h"
#include "cli/check_command.h"
#include "cli/cli_error.h"
#include "cli/convert_batch.h"
#include "cli/convert_command.h"
#include "cli/edit_command.h"
#include "cli/import_convert.h"
#include "cli/info_command.h"
#include "cli/lod_command.h"
#include "cli/model_source.h"
#include "cli/pk3_arguments.h"
#include "cli/renderer_launch.h"
#include "io/temporary_files.h"
#include "io/time_zone.h"
#if VELDRA_READS_ARCHIVES
#include "cli/archives/archive_reader.h"
#include "cli/archives/pk3_command.h"
#endif
#if VELDRA_HAS_RENDER
#include "cli/render_arguments.h"
#endif

int main(int argc, char** argv) {
    // Nothing here writes through C stdio, and a stream synchronised with it pays a C call
    // for every piece `info` prints.
    std::ios::sync_with_stdio(false);
    LoadLocalTimeZoneOnce();
    RemoveTemporaryFilesOnInterrupt();
    CLI::App app{"veldra-cli: inspect and convert Quake III-engine models (MD3, MDM/MDX)"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("veldra-cli ") + VELDRA_VERSION);
    app.footer(
        "Exit codes: 0 success; 1 a file could not be read, edited or written; 2 usage error "
        "(unknown command or option, missing or malformed value, unsupported output format); "
        "3 `check` found errors. "
        "Errors are one line on stderr.");

    std::vector<std::string> infoFiles;
    bool infoJson = false;
    CLI::App* info = app.add_subcommand(
        "info",
        "Show the header, frames, tags and surfaces of models and tag files, what "
        "skins, shader scripts, animation files and characters name, imported models and "
        "maps as the MD3 they convert to, what an archive holds, and which shader "
        "directives are drawn on models");
    info->add_option(
            "FILE", infoFiles,
            "Model (.md3, .mdc, .mdm, .mdx, .mds), tag (.tag), skin (.skin), shader script "
            "(.shader), animation list (.aninc) or group (.anim), MilkShape (.ms3d), 3ds "
            "Max ASCII (.ase), map (.map), archive (.pk3) or character (.char) files, or "
            "archive entries")
        ->required();
    info->add_flag("--json", infoJson, "Print JSON: one object, or an array for several files");

    std::vector<std::string> convertFiles;
    std::string convertOutDir;
    TConvertOptions convertOptions;
    CLI::App* convert = app.add_subcommand(
        "convert",
        "Read IN and write OUT in the format of OUT's extension (.md3, .mdc, .mdm, .mdx, or "
        "glTF .glb/.gltf for models, players and characters); "
        "MilkShape (.ms3d), 3ds Max ASCII (.ase), glTF (.glb, .gltf) models and Radiant maps "
        "(.map) become .md3 or .mdc; a glTF skin becomes .mdm with --mdx");
    convert
        ->add_option("FILES", convertFiles,
                     "IN OUT: the model or map to read and the file to write; with --out-dir any "
                     "number of inputs")
        ->required();
    convert->add_option("--out-dir", convertOutDir,
                        "Convert each input into this folder under its own name: models keep "
                        "their kind, imported models and maps become .md3");
    convert->add_flag("--scale-to-fit", convertOptions.scaleToFit,
                      "Scale an imported model or map beyond the MD3 range down to fit instead of "
                      "refusing it");
    convert->add_flag("--split-surfaces", convertOptions.splitSurfaces,
                      "Split a surface of an imported model or map past the MD3 limits (1,024 "
                      "vertices, 8,192 triangles) into several with the same shader instead of "
                      "refusing it");
    convert->add_option("--scale", convertOptions.scale,
                        "Scale a MilkShape, 3ds Max or glTF model by this factor before its "
                        "positions are rounded to 1/64 unit, so that small models keep their "
                        "triangles");
    convert->add_option("--up", convertOptions.up,
                        "The axis a MilkShape or 3ds Max model was made with pointing up: y (as "
                        "MilkShape does by default) stands it up on the game's z; z (default) "
                        "keeps it");
    convert->add_option("--shader-prefix", convertOptions.shaderPrefix,
                        "Folder put before the shader names of a MilkShape, 3ds Max or glTF model "
                        "that are no game paths (textures/... or models/...), e.g. "
                        "models/mapobjects/crate");
    convert->add_option("--anim-name", convertOptions.animName,
                        "The animation of a glTF model to sample into frames (default: its first)");
    convert->add_option("--game", convertOptions.gameDir,
                        "Game folder whose data gives the texture sizes of a map, or the "
                        "textures embedded in a glTF export");
    convert->add_option("--frames", convertOptions.frames,
                        "glTF export: the frames FIRST-LAST (or FRAME) to play, as one animation; "
                        "glTF import: the frames of the animation, sampled at 20 per second, to "
                        "keep (default: all)");
    convert->add_option("--fps", convertOptions.fps,
                        "glTF export: frames per second (default: the animation list's rates, "
                        "else 20)");
    convert->add_option("--mdx", convertOptions.mdx,
                        "glTF export of an MDM mesh: the animation (.mdx) whose bones it hangs "
                        "on; glTF import to .mdm: the MDX animation written beside it");
    convert->add_option("--skin", convertOptions.skin,
                        "glTF export: a skin file naming the surfaces' shaders");

    TBakeArguments bakeArguments;
    CLI::App* bake = AddBakeCommand(app, bakeArguments);

    TLodArguments lodArguments;
    CLI::App* lod = AddLodCommand(app, lodArguments);

#if VELDRA_HAS_RENDER
    TRenderArguments render;
    CLI::App* renderCmd = AddRenderCommand(app, render);
#endif

    TCheckArguments checkArguments;
    CLI::App* check = AddCheckCommand(app, checkArguments);

    TPk3Options pk3Options;
    CLI::App* pk3 = AddPk3Command(app, pk3Options);

    std::string editIn, editOut;
    std::vector<EditOperation> editOperations;
    CLI::App* edit = app.add_subcommand(
        "edit", "Read IN, apply the operations in the order given and write OUT in IN's format");
    edit->add_option("IN", editIn, "Model to read (.md3, .mdc, .mdm or .mdx)")->required();
    edit->add_option("OUT", editOut,
                     "File to write (.md3 or .mdc for a model of either, .mdm or .mdx as IN)")
        ->required();
    // Each option records itself as it is parsed, so the list keeps the command line's order
    // across different options.
    for (const EditOptionInfo& option : EditOptions()) {
        const std::string name = option.option;
        if (*option.valueName == '\0') {
            edit->add_flag_callback(
                    name,
                    [&editOperations, name] {
                        editOperations.push_back({name, ""});
                    },
                    option.help)
                ->trigger_on_parse()
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        } else {
            edit->add_option_function<std::string>(
                    name,
                    [&editOperations, name](const std::string& value) {
                        editOperations.push_back({name, value});
                    },
                    option.help)
                ->type_name(option.valueName)
                ->trigger_on_parse()
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        }
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version print to stdout and exit 0.
        if (e.get_exit_code() == 0) return app.exit(e);
        std::string what = e.what();
        // The parser would only say that a command is missing.
        const std::string first = argc > 1 ? argv[1] : "";
        if (!first.empty() && first[0] != '-' &&
            app.get_subcommands([&](CLI::App* c) { return c->get_name() == first; }).empty()) {
            what = "unknown command \"" + first + "\"";
        }
        ReportError(std::cerr, what + " (see --help)");
        return kExitUsage;
    }

#if VELDRA_READS_ARCHIVES
    InstallArchiveReader();
#else
    const bool readsArchive =
        *pk3 ||
        (*info && (AnyNamesArchiveEntry(infoFiles) || AnyIsCharacter(infoFiles) ||
                   AnyIsArchive(infoFiles))) ||
        (*convert && (AnyNamesArchiveEntry(convertFiles) || !convertOptions.gameDir.empty() ||
                      (!convertFiles.empty() && IsGltfFile(convertFiles.back())))) ||
        (*edit && NamesArchiveEntry(editIn)) || (*check && CheckNeedsArchives(checkArguments)) ||
        (*bake &&
         (AnyNamesArchiveEntry(bakeArguments.files) || NamesArchiveEntry(bakeArguments.skin))) ||
        (*lod && AnyNamesArchiveEntry({lodArguments.mesh, lodArguments.anim}));
    if (readsArchive) {
        return RunGuarded(std::cerr, [&]() -> int {
            ExecCompanion(kArchiveProgramName, argc, argv, "Cannot read archives: the reader");
        });
    }
#endif

    if (*info) {
        return RunGuarded(std::cerr,
                          [&] { return RunInfo(infoFiles, infoJson, std::cout, std::cerr); });
    }
    if (*convert) {
        return RunGuarded(std::cerr, [&] {
            return RunConvertFiles(convertFiles, convertOutDir, std::cerr, convertOptions);
        });
    }
    if (*check) {
        return RunGuarded(std::cerr,
                          [&] { return RunCheck(checkArguments, std::cout, std::cerr); });
    }
    if (*bake) return RunGuarded(std::cerr, [&] { return RunBake(bakeArguments, std::cerr); });
    if (*lod) {
        return RunGuarded(std::cerr, [&] { return RunLod(lodArguments, std::cout, std::cerr); });
    }
#if VELDRA_HAS_RENDER
    if (*renderCmd) {
        // A bad size fails here, before the renderer's libraries are loaded.
        return RunGuarded(std::cerr, [&]() -> int {
            ExecRenderer(argc, argv, ResolveRenderOptions(render).model);
        });
    }
#endif

#if VELDRA_READS_ARCHIVES
    if (*pk3) {
        return RunGuarded(std::cerr,
                          [&] { return RunPk3(*pk3, pk3Options, std::cout, std::cerr); });
    }
#endif
    if (*edit) {
        return RunGuarded(std::cerr,
                          [&] { return RunEdit(editIn, editOut, editOperations, std::cerr); });
    }
    return 1;
}
