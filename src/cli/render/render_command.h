// `veldra-cli render`: draws a model offscreen with the program's own scene drawing and
// writes the picture as PNG or TGA, transparent where the model is not.
#pragma once

#include <ostream>

#include "cli/render_arguments.h"

// Problems that do not stop the drawing (archives entries that could not be read) go to
// `warnings`, one line each.
int RunRender(const TRenderOptions& options, std::ostream& warnings);
