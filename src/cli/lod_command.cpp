#include "cli/lod_command.h"

#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_files.h"
#include "cli/skeletal_files.h"
#include "cli/terminal_progress.h"
#include "lod/collapse_map.h"
#include "md3/md3.h"

namespace {

void PrintText(const TMDM& mesh, std::uint32_t frame, std::ostream& out) {
    out << "Frame:    " << frame << "\n";
    for (std::size_t i = 0; i < mesh.surfaces.size(); ++i) {
        const TMDMSurface& s = mesh.surfaces[i];
        out << "  [" << i << "] " << Quoted(NameFieldText(s.name)) << ": " << s.numVerts
            << " vertices, LOD minimum " << s.minLod << "\n";
    }
}

void PrintJson(const TMDM& mesh, const std::string& file, std::uint32_t frame, std::ostream& out) {
    JsonWriter j(out);
    j.BeginObject();
    j.Key("file"), j.String(file);
    j.Key("frame"), j.Int(frame);
    j.Key("surfaces"), j.Int(static_cast<std::int64_t>(mesh.surfaces.size()));
    j.Key("surfaceList");
    j.BeginArray();
    for (const TMDMSurface& s : mesh.surfaces) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(s.name));
        j.Key("vertices"), j.Int(s.numVerts);
        j.Key("minLod"), j.Int(s.minLod);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    out << "\n";
}

}  // namespace

CLI::App* AddLodCommand(CLI::App& app, TLodArguments& arguments) {
    CLI::App* lod = app.add_subcommand(
        "lod", "Compute the collapse maps and LOD minimums of a player mesh and write it");
    lod->add_option("MESH", arguments.mesh, "Player mesh (.mdm)")->required();
    lod->add_option("ANIM", arguments.anim, "Animation (.mdx) that poses the mesh")->required();
    lod->add_option("OUT", arguments.output, "Mesh to write (.mdm)")->required();
    arguments.frame = kLodFrameMDMMDX;
    lod->add_option_function<std::uint32_t>(
        "--frame",
        [&arguments](std::uint32_t frame) {
            arguments.frame = frame;
            arguments.frameGiven = true;
        },
        "Frame to pose at (default " + std::to_string(kLodFrameMDMMDX) +
            ", or frame 0 when the animation is shorter)");
    lod->add_flag("--json", arguments.json, "Print JSON");
    return lod;
}

int RunLod(const TLodArguments& arguments, std::ostream& out, std::ostream& warnings) {
    if (FormatFromExtension(arguments.output) != ModelFormat::MDM) {
        throw UnsupportedOutput(arguments.output, "supported: .mdm");
    }
    TMDM mesh;
    TMDX anim;
    LoadPosablePair(mesh, arguments.mesh, anim, arguments.anim, warnings);
    // Only the default falls back to frame 0; a frame the user chose is meant as given.
    if (arguments.frameGiven && arguments.frame >= anim.header.numFrames) {
        throw UsageError("Invalid --frame " + std::to_string(arguments.frame) + ": \"" +
                         arguments.anim + "\" has only " + std::to_string(anim.header.numFrames) +
                         " frames");
    }
    const std::uint32_t frame = TCollapseMap::LodFrame(anim, arguments.frame);
    TerminalProgress progress("Calculating LOD");
    const bool calculated = TCollapseMap().CalculateLod(mesh, anim, frame, progress.IfShown());
    progress.Finish();
    if (!calculated) {
        throw CliError("Cannot pose \"" + arguments.mesh + "\" with \"" + arguments.anim +
                       "\" at frame " + std::to_string(frame));
    }
    if (!mesh.SaveToFile(arguments.output)) {
        throw CliError("Cannot write \"" + arguments.output + "\": " + mesh.LastError());
    }
    if (arguments.json) {
        PrintJson(mesh, arguments.output, frame, out);
    } else {
        PrintText(mesh, frame, out);
    }
    return 0;
}
