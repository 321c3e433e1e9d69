// Drawing needs the toolkit and OpenGL, whose libraries take longer to load than a whole
// `info` run; they live in a separate program beside veldra-cli that only `render` starts.
#pragma once

#include <string>

inline constexpr char kRendererProgramName[] = "veldra-cli-render";

// Replaces this process with the renderer beside the running executable, passing the
// same arguments; returns only by throwing CliError naming `model` when it cannot start.
[[noreturn]] void ExecRenderer(int argc, char** argv, const std::string& model);
