// The arguments of `veldra-cli pk3 list ARCHIVE [--mask M] [--json]` and
// `veldra-cli pk3 extract ARCHIVE [MASK...] --to DIR`, declared once for veldra-cli, which
// checks them, and for the archive companion it hands them to, which reads the archive.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct TPk3Options {
    std::string archive;
    std::string listMask = "*";
    bool json = false;
    std::vector<std::string> extractMasks;  // none: every file
    std::string targetDir;
};

// Adds "pk3" with its two subcommands to `app`, filling `options`.
CLI::App* AddPk3Command(CLI::App& app, TPk3Options& options);
