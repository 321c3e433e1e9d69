// Textures a character's head and accessories as the game does: each model's surfaces
// through its own skin (when it has one) into its own store, then the stages' images.
#pragma once

#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "render/attached_models.h"
#include "render/gl/obj_texture.h"

// Needs the render context current. The game data's skin table is the body's again
// afterwards, also when a skin cannot be read (its FileError goes on). Returns the problems
// met on the way; without a game nothing is resolved and the models are drawn white.
std::vector<std::string> TextureAttachedModels(TAttachedModels& models, TGameAssets& assets,
                                               const TModelOrigin& origin, TObjTexture& textures,
                                               float gamma);
