// `veldra-cli lod MESH.mdm ANIM.mdx OUT.mdm [--frame N] [--json]`: computes the collapse maps
// and LOD minimums of a player mesh posed at one frame of its animation, reorders its vertices
// accordingly and writes it.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

struct TLodArguments {
    std::string mesh;
    std::string anim;
    std::string output;
    std::uint32_t frame = 0;  // set to the frame "Calculate LOD" uses for a pair
    bool frameGiven = false;  // --frame was given: a frame past the animation is refused
    bool json = false;
};

// Adds the "lod" subcommand with its options to `app`, storing into `arguments`.
CLI::App* AddLodCommand(CLI::App& app, TLodArguments& arguments);

// Prints per surface the vertex count and LOD minimum on `out` (as JSON with --json). Throws
// UsageError for an output that is not .mdm or a --frame past the animation, CliError or FileError
// for files that cannot be read, posed or written; mesh limit questions are answered Yes and
// reported on `warnings`.
int RunLod(const TLodArguments& arguments, std::ostream& out, std::ostream& warnings);
