#include "cli/bake_command.h"

#include <CLI/CLI.hpp>


#include "cli/cli_error.h"
#include "cli/model_files.h"
#include "cli/skeletal_files.h"
#include "cli/terminal_progress.h"
#include "skeletal/skeletal_export.h"

CLI::App* AddBakeCommand(CLI::App& app, TBakeArguments& arguments) {
    CLI::App* bake = app.add_subcommand(
        "bake", "Pose frames of a player mesh with an animation and write them as an MD3 model");
    bake->add_option("MESH", arguments.mesh, "Player mesh (.mdm)")->required();
    bake->add_option("ANIM", arguments.anim, "Animation (.mdx)")->required();
    bake->add_option("OUT", arguments.output, "Model to write (.md3)")->required();
    CLI::Option* frames =
        bake->add_option("--frames", arguments.frames, "Frames FIRST-LAST (default: all)");
    bake->add_option("--anim-name", arguments.animName,
                     "The frames of this entry of the .aninc beside ANIM")
        ->excludes(frames);
    return bake;
}

int RunBake(const TBakeArguments& arguments, std::ostream& warnings) {
    if (FormatFromExtension(arguments.output) != ModelFormat::MD3) {
        throw UnsupportedOutput(arguments.output, "supported: .md3");
    }
    TMDM mesh;
    TMDX anim;
    LoadPosablePair(mesh, arguments.mesh, anim, arguments.anim, warnings);
    const FrameRange range =
        !arguments.frames.empty()     ? ParseFrameRange(arguments.frames, anim, arguments.anim)
        : !arguments.animName.empty() ? AnimationRange(arguments.animName, anim, arguments.anim)
                                      : AllFrames(anim, arguments.anim);
    TMD3 md3;
    TBakeResult baked;
    {
        TerminalProgress progress("Baking frames");
        baked = BakeFramesToMD3(mesh, anim, range.first, range.last, md3, TBakePose::SharedBones,
                                progress.IfShown());
    }
    if (!baked.baked) {
        throw CliError("Cannot bake \"" + arguments.mesh + "\" with \"" + arguments.anim +
                       "\": " + baked.error);
    }
    if (baked.clamped > 0) {
        warnings << "veldra-cli: warning: " << baked.clamped << " coordinate"
                 << (baked.clamped == 1 ? " was" : "s were")
                 << " clamped to the 16-bit range of MD3 positions\n";
    }
    if (!md3.SaveToFile(arguments.output)) {
        throw CliError("Cannot write \"" + arguments.output + "\": " + md3.LastError());
    }
    return 0;
}
