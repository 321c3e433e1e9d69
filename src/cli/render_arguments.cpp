#include "cli/render_arguments.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>

#include "assets/model_file_names.h"
#include "cli/cli_error.h"
#include "cli/model_files.h"
#include "io/file_names.h"

namespace {

constexpr int kMaxRenderSide = 8192;

// Parses "WxH" into width and height; false for anything else or sizes outside 1..8192.
bool ParseRenderSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int w = 0, h = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [p1, e1] = std::from_chars(begin, begin + x, w);
    auto [p2, e2] = std::from_chars(begin + x + 1, end, h);
    if (e1 != std::errc() || e2 != std::errc() || p1 != begin + x || p2 != end) return false;
    if (w < 1 || h < 1 || w > kMaxRenderSide || h > kMaxRenderSide) return false;
    width = w;
    height = h;
    return true;
}

// An angle that is not a finite number would turn the view into NaNs and draw nothing.
const CLI::Validator kFiniteDegrees(
    [](std::string& text) -> std::string {
        float value = 0.0f;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc() || stop != end || !std::isfinite(value))
            return "\"" + text + "\" is not a finite number of degrees";
        return {};
    },
    "DEGREES");

// A time that is not finite would send every wave and scroll to NaN.
const CLI::Validator kFiniteSeconds(
    [](std::string& text) -> std::string {
        double value = 0.0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc() || stop != end || !std::isfinite(value))
            return "\"" + text + "\" is not a finite number of seconds";
        return {};
    },
    "SECONDS");

}  // namespace

CLI::App* AddRenderCommand(CLI::App& app, TRenderArguments& arguments) {
    TRenderOptions& o = arguments.options;
    CLI::App* render = app.add_subcommand(
        "render", "Draw a model offscreen into a PNG or TGA image, transparent around the model");
    render
        ->add_option("FILES", arguments.files,
                     "MODEL OUT: the model and the image to write (.png or .tga); with --out-dir "
                     "any number of models, files or archive entries (ARCHIVE.pk3:models/*.md3)")
        ->required();
    CLI::Option* outDir = render->add_option(
        "--out-dir", arguments.outDir,
        "Write one PNG per model into this folder: a file's name with .png, an archive "
        "entry's path inside the archive with .png");
    render->add_flag("--json", arguments.json, "With --out-dir: report each model as JSON")
        ->needs(outDir);
    render->add_option("--size", arguments.size, "Image size WxH (default 512x512)");
    CLI::Option* frame = render->add_option("--frame", o.frame, "Frame to draw (default 0)");
    render->add_option("--mdx", o.mdx, "Animation (.mdx) that poses an .mdm model");
    render
        ->add_option("--anim-name", o.animName,
                     "Draw the first frame of this entry of the .aninc beside the --mdx file")
        ->excludes(frame);
    render->add_option("--yaw", o.yaw, "Turn about the model's Z axis in degrees (default 30)")
        ->check(kFiniteDegrees);
    render->add_option("--pitch", o.pitch, "Look down by degrees (default 20)")
        ->check(kFiniteDegrees);
    render
        ->add_option("--time", o.time,
                     "Shader time in seconds: animated shaders as they look then (default 0)")
        ->check(kFiniteSeconds);
    render->add_flag("--wireframe", o.wireframe, "Draw triangle edges only");
    render->add_flag("--no-lighting", arguments.noLighting, "Draw without lights");
    CLI::Option* game = render->add_option(
        "--game", o.game,
        "Texture the model from this game folder (the one holding etmain): its PAKs in the "
        "game's order and its shader scripts");
    // Without a game nothing is resolved, so these would be ignored without a word.
    render->add_option("--pk3", o.mapArchive, "A map's PK3 searched for scripts and images first")
        ->needs(game);
    render
        ->add_option("--skin", o.skin,
                     "A skin file (or ARCHIVE:entry) giving surfaces other shaders or images")
        ->needs(game);
    render
        ->add_option("--shaderlist", o.shaderList,
                     "A shader script whose shaders win over the game's")
        ->needs(game);
    render->add_flag("--lod", o.lod,
                     "Draw each surface of an .mdm model reduced to its LOD minimum");
    render
        ->add_option("--md3-lod", o.md3Lod,
                     "Draw this level of detail of an .md3/.mdc model: 1 or 2 for the X_1 or X_2 "
                     "file the game loads with X (default 0, the model itself)")
        ->check(CLI::Range(0, kModelLodLevels - 1));
    return render;
}

TRenderOptions ResolveRenderOptions(const TRenderArguments& arguments) {
    TRenderOptions o = arguments.options;
    if (!arguments.size.empty() && !ParseRenderSize(arguments.size, o.width, o.height)) {
        throw CliError("Invalid --size \"" + arguments.size + "\": expected WxH, 1 to 8192 each");
    }
    o.lighting = !arguments.noLighting;
    if (!arguments.outDir.empty()) {
        o.model = arguments.files.front();
        return o;
    }
    if (arguments.files.size() != 2) {
        throw UsageError("render takes MODEL OUT, or any number of models with --out-dir DIR");
    }
    o.model = arguments.files[0];
    o.output = arguments.files[1];
    CheckRenderModel(o);
    return o;
}

void CheckRenderModel(const TRenderOptions& o) {
    // A player mesh has no shape of its own until an animation poses it.
    const bool mesh = FormatFromExtension(o.model) == ModelFormat::MDM;
    if (mesh && o.mdx.empty()) {
        throw UsageError("Cannot render \"" + o.model + "\": a player mesh needs --mdx ANIM.mdx");
    }
    // A character names its own animation, whose entries --anim-name chooses from.
    const bool character = UpperCaseExtension(o.model) == ".CHAR";
    if (!mesh && (!o.mdx.empty() || (!o.animName.empty() && !character))) {
        throw UsageError("Cannot render \"" + o.model +
                         "\": --mdx and --anim-name are for .mdm "
                         "player meshes");
    }
    if (!mesh && o.lod) {
        throw UsageError("Cannot render \"" + o.model + "\": --lod is for .mdm player meshes");
    }
    if (o.md3Lod != 0 && ModelFileCandidates(o.model, 1).empty()) {
        throw UsageError("Cannot render \"" + o.model +
                         "\": --md3-lod is for .md3 and .mdc models");
    }
}
