// The shader name of a glTF material: its name when that is a game path already, else the
// game's name for its base colour image, else its name made into one.
#pragma once

#include <string>
#include <string_view>

namespace tinygltf {
class Model;
}

// Empty for a primitive without a material (-1) or a material that does not exist.
std::string GltfShaderName(const tinygltf::Model& model, int material, std::string_view prefix);
