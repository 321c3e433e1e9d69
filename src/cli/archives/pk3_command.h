// `veldra-cli pk3 list` and `pk3 extract`: what a PK3 (ZIP) archive holds, and taking files
// out of it with the same checks as the program (no entry is written outside the target
// folder; bombs and damaged entries are refused and named).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/pk3_arguments.h"

// Runs the subcommand chosen on `pk3`: the list on `out`; for extract one line per refused
// or damaged entry on `err` and exit code 1 when there was any.
int RunPk3(const CLI::App& pk3, const TPk3Options& options, std::ostream& out, std::ostream& err);

int RunPk3List(const std::string& archive, const std::string& mask, bool json, std::ostream& out);
int RunPk3Extract(const std::string& archive, const std::vector<std::string>& masks,
                  const std::string& targetDir, std::ostream& out, std::ostream& err);
