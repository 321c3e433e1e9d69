// `veldra-cli render`: draws a model offscreen with the program's own scene drawing and
// writes the picture as PNG or TGA, transparent where the model is not.
#pragma once

#include "cli/render_arguments.h"

int RunRender(const TRenderOptions& options);
