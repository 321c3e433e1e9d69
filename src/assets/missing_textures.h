// The surfaces and stages that come out untextured after a resolution, named, so that a
// picture drawn without them is explained rather than silently white.
#pragma once

#include <string>
#include <vector>

#include "assets/skin.h"
#include "assets/surface_resolution.h"
#include "shader/q3_shaders.h"

// One sentence per surface without shader (the name it or its skin line gave found neither a
// script shader nor an image, or it gives no name at all) and per image a stage of the store
// names that was not found; each once, in order. Lightmap, white-image and video stages need
// no file.
std::vector<std::string> MissingTextures(const std::vector<TSurfaceShaderRef>& surfaces,
                                         const TSurfaceResolution& resolution,
                                         const TShaders& shaders, const TSkin& skin);

// A surface that comes out untextured, or partly so: the shader it names (its skin line's
// name when a skin gives one) and the image files looked for that were not found.
struct TSurfaceMissingTextures {
    std::string surface;
    std::string shader;  // empty when neither the surface nor a skin line names one
    // Not found in any script, so searched as an image itself.
    bool noScript = false;
    std::vector<std::string> images;  // every name searched, in order
};

// One entry per surface, in order, whose shader was not found or whose shader has a stage
// image that was not; the same needs as MissingTextures.
std::vector<TSurfaceMissingTextures> MissingSurfaceTextures(
    const std::vector<TSurfaceShaderRef>& surfaces, const TSurfaceResolution& resolution,
    const TShaders& shaders, const TSkin& skin);

// The entry as one line: the surface, its shader and the images looked for.
std::string MissingTexturesLine(const TSurfaceMissingTextures& missing);
