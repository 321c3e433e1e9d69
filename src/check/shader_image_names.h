// The images a shader script's stages name, for the check that they exist in the game.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TShaderImageName {
    std::string shader;
    std::string image;
};

// Every image after "map", "clampMap" and "animMap" (its frequency skipped) in script order;
// the engine's own images ("$lightmap", "$whiteimage", "*white", ...) are left out.
std::vector<TShaderImageName> ShaderImageNames(std::string_view script);
