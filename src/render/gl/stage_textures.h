// CreateStageTextures: gives every stage of the shader store its GL texture, after the
// surfaces were resolved (surface_resolution.h). The images are found and extracted by the
// game data (stage_images.h); this half uploads them through the texture store, so it needs
// the render context current.
#pragma once

#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "assets/status_text.h"
#include "render/gl/obj_texture.h"
#include "shader/q3_shaders.h"

// Nothing for an empty store. Otherwise shows "Creating textures...", finds every stage's
// image, uploads it brightened by `gamma` (a file used by several stages once) and stores
// texture, alpha and blend factors in the stage; clears the status at the end. Returns the
// problems met on the way (archives not opened, entries refused or damaged).
std::vector<std::string> CreateStageTextures(TShaders& shaders, TObjTexture& textures, float gamma,
                                             const TGameAssets& assets, const TModelOrigin& origin,
                                             const StatusFn& status = {});
