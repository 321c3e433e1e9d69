// The arguments of `veldra-cli render`, declared once for the command-line front, which
// checks them, and for the renderer program it hands them to, which draws.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct TRenderOptions {
    std::string model;
    std::string output;
    int width = 512;
    int height = 512;
    int frame = 0;
    std::string mdx;       // the animation that poses an .mdm model
    std::string animName;  // an entry of the .aninc beside mdx: its first frame is drawn
    float yaw = 30.0f;     // degrees about the model's Z axis
    float pitch = 20.0f;   // degrees the view looks down from the horizon
    bool wireframe = false;
    bool lighting = true;
    // Texturing as the program does it; without a game every surface is drawn white.
    std::string game;        // a folder holding etmain: its PAKs and scripts
    std::string mapArchive;  // --pk3: a map's archive, searched before the game
    std::string skin;
    std::string shaderList;  // a script whose shaders win over the game's
    bool lod = false;        // each surface of an .mdm model reduced to its LOD minimum
    int md3Lod = 0;          // the level of detail of a vertex model: its "_1" or "_2" file
    double time = 0.0;       // the shader clock in seconds: what animated shaders show
};

// What the command line gave, before the size is checked.
struct TRenderArguments {
    TRenderOptions options;
    // MODEL OUT, or with outDir the models (files or archive entries, masks allowed).
    std::vector<std::string> files;
    std::string outDir;
    bool json = false;  // with outDir: one result per model on stdout
    std::string size;
    bool noLighting = false;
};

// Adds the "render" subcommand with its options to `app`, storing into `arguments`.
CLI::App* AddRenderCommand(CLI::App& app, TRenderArguments& arguments);

// The options to draw with; throws CliError for a size that is not WxH, UsageError for other
// than MODEL OUT without --out-dir, and (without --out-dir) as CheckRenderModel. With
// --out-dir the model is the first one, output empty: each is checked as it comes.
TRenderOptions ResolveRenderOptions(const TRenderArguments& arguments);

// Throws UsageError when an .mdm model comes without --mdx or another model with --mdx,
// --anim-name or --lod, or a model other than .md3/.mdc with --md3-lod.
void CheckRenderModel(const TRenderOptions& options);
