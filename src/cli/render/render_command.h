// `veldra-cli render`: draws a model offscreen with the program's own scene drawing and
// writes the picture as PNG or TGA, transparent where the model is not.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/render_arguments.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"

// An offscreen context kept for several pictures of one size: making it costs more than
// drawing a typical model. Opened by the first RunRender given it.
struct TRenderContext {
    std::unique_ptr<IOffscreenBinding> binding;
    TOGL ogl;
    std::string glError;
};

// Problems that do not stop the drawing (archives entries that could not be read) go to
// `warnings`, one line each. Without `shared` the picture gets a context of its own.
int RunRender(const TRenderOptions& options, std::ostream& warnings,
              TRenderContext* shared = nullptr);
