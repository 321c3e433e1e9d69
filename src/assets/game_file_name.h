// The names models, skins, shaders and character definitions give for game files, as the
// game's file system takes them: relative to the game's folders and archives, never above.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The name with '/' for every '\' and without leading separators (models that name
// "/models/x.tga" are textured in the game). Nothing for a name the game refuses or that
// would leave its folders: empty, or holding ".." or "::".
std::optional<std::string> GameFileName(std::string_view name);
