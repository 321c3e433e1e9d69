// ResolveShaderImage: the image file behind a shader or texture name, for converters that
// need texture sizes (the map converter). It uses the same indexes and search order as the
// surface resolution, without skin, and extracts what it finds at once.
#pragma once

#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "shader/q3_shaders.h"

struct TShaderImage {
    bool found = false;     // an entry exists for the name (from a script or an image)
    int entryIndex = -1;    // its index in the shader store
    std::string imagePath;  // the image of its first stage; empty when none was found
    std::vector<std::string> problems;
};

// The name is lower-cased and freed of double quotes; its base name is looked up in the
// shader-file indexes and parsed into the store, or else searched as an image and added as
// a texture entry; then the image of the entry's first stage is searched.
TShaderImage ResolveShaderImage(const std::string& name, const TGameAssets& assets,
                                const TModelOrigin& origin, TShaders& shaders);
