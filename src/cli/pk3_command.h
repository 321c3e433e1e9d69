// `veldra-cli pk3 list ARCHIVE [--mask M] [--json]` and
// `veldra-cli pk3 extract ARCHIVE [MASK...] --to DIR`: what a PK3 (ZIP) archive holds, and
// taking files out of it with the same checks as the program (no entry is written outside
// DIR, bombs and damaged entries are refused and named).
#pragma once

#include <ostream>
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

// Runs the subcommand chosen on `pk3`: the list on `out`; for extract one line per refused
// or damaged entry on `err` and exit code 1 when there was any.
int RunPk3(const CLI::App& pk3, const TPk3Options& options, std::ostream& out, std::ostream& err);

int RunPk3List(const std::string& archive, const std::string& mask, bool json, std::ostream& out);
int RunPk3Extract(const std::string& archive, const std::vector<std::string>& masks,
                  const std::string& targetDir, std::ostream& out, std::ostream& err);
