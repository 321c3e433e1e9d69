// Shader names for the surfaces of imported models: the texture paths exporters write, turned
// into the names the game looks up.
#pragma once

#include <string>
#include <string_view>

// Whether a name is a game path already: it starts with "textures/" or "models/" (any letter
// case) and has no image extension.
bool IsShaderPath(std::string_view name);

// The game's name for a texture path. Backslashes become slashes; a path through a
// "textures" or "models" folder keeps the part from that folder on; any other path keeps the
// part relative to the model's folder (without "./" and "../"), or the file name alone when it
// is absolute; an image extension is dropped. `prefix` goes before names that did not reach a
// game folder. ".\tex.jpg" gives "tex"; "..\textures\a\b.jpg" gives "textures/a/b".
std::string GameShaderName(std::string_view path, std::string_view prefix = {});

// The shader of a material: its name when that is a game path already, else the game's name
// for its texture path (empty without one).
std::string MaterialShaderName(std::string_view materialName, std::string_view texturePath,
                               std::string_view prefix);
