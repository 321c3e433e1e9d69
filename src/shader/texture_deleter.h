// What the shader store needs of the texture store: letting go of a stage's texture. The GL
// texture store implements it; the store itself stays free of OpenGL.
#pragma once

#include <cstdint>

class TextureDeleter {
  public:
    virtual ~TextureDeleter() = default;
    virtual void DeleteTexture(std::uint32_t texture) = 0;
};
