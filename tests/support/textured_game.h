// A game installation whose one model shows a known colour once it is textured: the checks
// that a picture really shows its textures look for these colours where the model is.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace testing_support {

using Rgb = std::array<int, 3>;

// The cube's own shader (textures/sample/cube, from scripts/sample.shader) draws green.tga.
inline constexpr Rgb kGameGreen = {40, 180, 70};
// textures/sample/blue.jpg: asked for as blue.tga by the skin below.
inline constexpr Rgb kSkinBlue = {50, 80, 210};
// textures/sample/red.tga: drawn by the shader of the shader list below.
inline constexpr Rgb kListRed = {200, 40, 40};

inline constexpr char kCubeEntry[] = "models/sample/cube.md3";
inline constexpr char kCubeSurface[] = "cube";
inline constexpr char kCubeSkinEntry[] = "models/sample/cube_blue.skin";  // BlueSkinText

// Writes gameFolder/etmain/pak0.pk3 with the cube model (MakeCube: one surface "cube" with
// the shader textures/sample/cube), its script, the three images and the blue skin; returns
// the PAK's path.
std::string WriteTexturedGame(const std::string& gameFolder);

// A skin file giving the cube textures/sample/blue.tga.
std::string BlueSkinText();
// A shader script defining textures/sample/cube with textures/sample/red.tga.
std::string RedShaderListScript();

// The bytes of the cube model.
std::string CubeModelBytes();

// A TGA file (24 bits) of one colour.
std::string OneColourTga(const Rgb& colour);

}  // namespace testing_support
