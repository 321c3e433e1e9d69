#include "cli/renderer_launch.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/cli_error.h"

namespace {

// The folder of the running executable: /proc/self/exe sees through symbolic links and
// PATH lookups; argv[0] serves where /proc is not mounted.
std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    const std::filesystem::path invoked = argv0 != nullptr ? argv0 : "";
    return invoked.has_parent_path() ? invoked.parent_path() : std::filesystem::path(".");
}

}  // namespace

void ExecCompanion(const char* program, int argc, char** argv, const std::string& failure) {
    const std::string companion = (ProgramFolder(argc > 0 ? argv[0] : nullptr) / program).string();
    std::vector<char*> arguments(argv, argv + argc);
    if (arguments.empty()) arguments.push_back(nullptr);
    arguments[0] = const_cast<char*>(companion.c_str());
    arguments.push_back(nullptr);
    std::fflush(nullptr);
    ::execv(companion.c_str(), arguments.data());
    throw CliError(failure + " \"" + companion + "\" cannot be started (" + std::strerror(errno) +
                   ")");
}

void ExecRenderer(int argc, char** argv, const std::string& model) {
    ExecCompanion(kRendererProgramName, argc, argv,
                  "Cannot render \"" + model + "\": the renderer");
}
