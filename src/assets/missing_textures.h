// The surfaces and stages that come out untextured after a resolution, named, so that a
// picture drawn without them is explained rather than silently white.
#pragma once

#include <string>
#include <vector>

#include "assets/skin.h"
#include "assets/surface_resolution.h"
#include "render/q3_shaders.h"

// One sentence per surface without shader (the name it or its skin line gave found neither a
// script shader nor an image, or it gives no name at all) and per image a stage of the store
// names that was not found; each once, in order. Lightmap, white-image and video stages need
// no file.
std::vector<std::string> MissingTextures(const std::vector<TSurfaceShaderRef>& surfaces,
                                         const TSurfaceResolution& resolution,
                                         const TShaders& shaders, const TSkin& skin);
