// `veldra-cli bake MESH.mdm ANIM.mdx OUT.md3 [--frames A-B | --anim-name NAME] [--skin FILE]`,
// or `bake MODEL.mds OUT.md3 ...`: poses a frame range of a player model and writes it as a
// vertex-animated MD3 model, standing as the game's own models do, with the skin's shaders
// written into its surfaces. An MDS model carries its own animation.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

struct TBakeArguments {
    // MESH ANIM OUT, or MODEL.mds OUT.
    std::vector<std::string> files;
    std::string frames;    // "A-B" or "A"; empty for every frame
    std::string animName;  // an entry of the .aninc beside ANIM (or the .mds); empty for none
    std::string skin;      // a skin file whose shaders the surfaces take; empty for none
};

// Adds the "bake" subcommand with its options to `app`, storing into `arguments`.
CLI::App* AddBakeCommand(CLI::App& app, TBakeArguments& arguments);

// Throws UsageError for a wrong output extension, malformed or conflicting options, CliError
// or FileError for files that cannot be read, posed or written. Mesh limit questions are
// answered Yes and, like coordinates clamped to the 16-bit range, a result past the game's MD3
// limits and surfaces the skin does not name, reported on `warnings`.
int RunBake(const TBakeArguments& arguments, std::ostream& warnings);
