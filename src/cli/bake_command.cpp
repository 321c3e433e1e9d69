#include "cli/bake_command.h"

#include <CLI/CLI.hpp>

#include "assets/skin.h"
#include "check/engine_limits.h"
#include "cli/cli_error.h"
#include "cli/mds_files.h"
#include "cli/model_files.h"
#include "cli/model_source.h"
#include "cli/skeletal_files.h"
#include "cli/terminal_progress.h"
#include "skeletal/skeletal_export.h"

namespace {

void Warn(std::ostream& warnings, const std::string& text) {
    warnings << "veldra-cli: warning: " << text << "\n";
}

// The baked model is written whatever its size, but the game may refuse it or lose parts of
// it: say so before someone ships it.
void WarnAboutGameLimits(const TMD3& md3, const std::string& output, std::ostream& warnings) {
    const TEngineLimits& et = LimitsOf(TEngine::ET);
    const std::string file = "\"" + output + "\": ";
    if (md3.header.numFrames > et.md3Frames) {
        Warn(warnings, file + std::to_string(md3.header.numFrames) + " frames, more than the " +
                           std::to_string(et.md3Frames) + " of the game's MD3 limit");
    }
    if (md3.header.numTags > et.md3Tags) {
        Warn(warnings, file + std::to_string(md3.header.numTags) +
                           " tags per frame, more than the " + std::to_string(et.md3Tags) +
                           " of the game's MD3 limit");
    }
    for (const TSurface& s : md3.header.surfaces) {
        const std::string surface = file + "surface \"" + NameFieldText(s.name) + "\" has ";
        if (s.numVerts > et.surfaceVerts) {
            Warn(warnings, surface + std::to_string(s.numVerts) + " vertices; the game drops a " +
                               "surface with more than " + std::to_string(et.surfaceVerts));
        }
        if (std::int64_t{s.numTriangles} * 3 > et.surfaceIndexes) {
            Warn(warnings, surface + std::to_string(s.numTriangles) +
                               " triangles; the game drops a surface with more than " +
                               std::to_string(et.surfaceIndexes / 3));
        }
    }
}

void ApplySkin(TMD3& md3, const TSkin& skin, const std::string& skinFile, std::ostream& warnings) {
    for (int i = 0; i < md3.header.numSurfaces; ++i) {
        const std::string name = NameFieldText(md3.header.surfaces[i].name);
        const TSkinRec* rec = FindSkinRec(skin, name, TSkinNaming::VertexModel);
        if (rec == nullptr) {
            Warn(warnings, "\"" + skinFile + "\" names no shader for surface \"" + name +
                               "\"; it keeps \"" +
                               NameFieldText(md3.header.surfaces[i].shaders[0].name) + "\"");
            continue;
        }
        md3.SetShaderName(i, rec->path);
    }
}

}  // namespace

CLI::App* AddBakeCommand(CLI::App& app, TBakeArguments& arguments) {
    CLI::App* bake = app.add_subcommand(
        "bake", "Pose frames of a player mesh with an animation and write them as an MD3 model");
    bake->add_option("FILES", arguments.files,
                     "MESH.mdm ANIM.mdx OUT.md3: the player mesh, its animation and the model to "
                     "write; or MODEL.mds OUT.md3")
        ->required()
        ->expected(2, 3);
    CLI::Option* frames =
        bake->add_option("--frames", arguments.frames, "Frames FIRST-LAST (default: all)");
    bake->add_option("--anim-name", arguments.animName,
                     "The frames of this entry of the .aninc beside ANIM")
        ->excludes(frames);
    bake->add_option("--skin", arguments.skin,
                     "A skin file (or ARCHIVE.pk3:entry) whose shaders are written into the "
                     "surfaces");
    return bake;
}

int RunBake(const TBakeArguments& arguments, std::ostream& warnings) {
    const std::vector<std::string>& files = arguments.files;
    const bool mds = files.size() == 2 && IsMDSFile(files[0]);
    if (files.size() == 2 && !mds) {
        throw UsageError("bake needs MESH.mdm ANIM.mdx OUT.md3, or MODEL.mds OUT.md3");
    }
    const std::string& meshPath = files[0];
    // An MDS model's animation is its own; its .aninc list is found beside it.
    const std::string& animPath = mds ? files[0] : files[1];
    const std::string& output = files.back();
    if (FormatFromExtension(output) != ModelFormat::MD3) {
        throw UnsupportedOutput(output, "supported: .md3, .mdc");
    }
    // Read before the bake, so that a wrong name fails at once rather than after it.
    TSkin skin;
    if (!arguments.skin.empty() && !LoadSkin(TModelSource(arguments.skin).File(), skin)) {
        throw CliError("Cannot read skin \"" + arguments.skin + "\": the file does not exist");
    }
    TMDM mesh;
    TMDX anim;
    if (mds)
        LoadMDSAsPairOrThrow(meshPath, mesh, anim, warnings);
    else
        LoadPosablePair(mesh, meshPath, anim, animPath, warnings);
    const FrameRange range =
        !arguments.frames.empty()     ? ParseFrameRange(arguments.frames, anim, animPath)
        : !arguments.animName.empty() ? AnimationRange(arguments.animName, anim, animPath)
                                      : AllFrames(anim, animPath);
    TMD3 md3;
    TBakeResult baked;
    {
        TerminalProgress progress("Baking frames");
        baked = BakeFramesToMD3(mesh, anim, range.first, range.last, md3, TBakePose::SharedBones,
                                progress.IfShown());
    }
    if (!baked.baked) {
        throw CliError("Cannot bake \"" + meshPath + "\"" +
                       (mds ? std::string() : " with \"" + animPath + "\"") + ": " + baked.error);
    }
    if (baked.clamped > 0) {
        Warn(warnings, std::to_string(baked.clamped) + " coordinate" +
                           (baked.clamped == 1 ? " was" : "s were") +
                           " clamped to the 16-bit range of MD3 positions");
    }
    if (!arguments.skin.empty()) ApplySkin(md3, skin, arguments.skin, warnings);
    WarnAboutGameLimits(md3, output, warnings);
    if (!md3.SaveToFile(output)) {
        throw CliError("Cannot write \"" + output + "\": " + md3.LastError());
    }
    return 0;
}
