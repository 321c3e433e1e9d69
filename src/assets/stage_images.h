// The GL-free half of CreateStageTextures: finding the image file of every shader stage.
// The texture upload in render/gl plugs in after it:
//
//   void CreateStageTextures(TShaders& shaders, TObjTexture& textures, float gamma, ...) {
//       if (shaders.Count() == 0) return;             // status "Creating textures..."
//       ResolveStageImages(shaders, assets, origin);  // paths and image sizes
//       for every stage with a texturePath:
//           SetStageTexture(stage, textures.LoadTextureWithGamma(stage.texturePath, gamma),
//                           textures.TextureHasAlpha(...));
//   }
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "shader/q3_shaders.h"

// The image of one stage: none for lightmap and white-image stages; its texture path when
// that file exists; else its texture name's file part in the dialog folder, then directly in
// the game's etmain folder; else the full name (then with ".tga", ".jpg", ".bmp") inside the
// map archive and inside each PAK in search order, the hit extracted to that archive's folder,
// then below the game's etmain folder.
std::optional<std::string> FindStageImage(const TShaderTexture& stage, const TGameAssets& assets,
                                          const TModelOrigin& origin,
                                          std::vector<std::string>& problems);

// Sets every stage's texturePath (emptied when nothing is found) and its image width and
// height (0 when the file's size cannot be read). A texture name used by several stages is
// searched once. Returns the problems met (archives not opened, entries refused or damaged).
std::vector<std::string> ResolveStageImages(TShaders& shaders, const TGameAssets& assets,
                                            const TModelOrigin& origin);

// Stores an uploaded texture in its stage. A stage without blend factors gets
// GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA when the texture has alpha, else GL_DST_COLOR /
// GL_ZERO.
void SetStageTexture(TShaderTexture& stage, std::uint32_t texture, bool hasAlpha);
