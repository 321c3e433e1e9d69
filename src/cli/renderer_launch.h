// Drawing needs the toolkit and OpenGL, whose libraries take longer to load than a whole
// `info` run; they live in a separate program beside veldra-cli that only `render` starts.
#pragma once

#include <string>

inline constexpr char kRendererProgramName[] = "veldra-cli-render";
// Reading archives needs libzip, which veldra-cli, linked without shared libraries, goes
// without: commands that read one are handed to this program, veldra-cli built with it.
inline constexpr char kArchiveProgramName[] = "veldra-cli-archives";

// Replaces this process with `program` beside the running executable, passing the same
// arguments; returns only by throwing CliError with `failure` and the reason.
[[noreturn]] void ExecCompanion(const char* program, int argc, char** argv,
                                const std::string& failure);

// Replaces this process with the renderer beside the running executable, passing the
// same arguments; returns only by throwing CliError naming `model` when it cannot start.
[[noreturn]] void ExecRenderer(int argc, char** argv, const std::string& model);
