// One drawing pass of a shader as the parser fills it and the drawing and the texturing
// complete it. Cull, alpha function, sky, polygon offset and autosprite carry over from the
// shader header and from one stage to the next; the rest starts afresh with every stage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shader/gl_blend_factors.h"
#include "shader/stage_effects.h"

constexpr std::uint8_t kCullNone = 0;
constexpr std::uint8_t kCullFront = 3;
constexpr std::uint8_t kCullBack = 4;

constexpr std::uint8_t kAlphaFuncNone = 0;
constexpr std::uint8_t kAlphaFuncGT0 = 1;
constexpr std::uint8_t kAlphaFuncLT128 = 2;
constexpr std::uint8_t kAlphaFuncGE128 = 3;

struct TShaderTexture {
    std::string shaderName;   // lower case
    std::string textureName;  // as written in the script, "$lightmap", "$whiteimage" or empty
    std::uint8_t cull = kCullNone;
    bool environment = false;   // "tcgen environment"
    std::int32_t blendSrc = 0;  // 0: none given
    std::int32_t blendDst = 0;  // 0: GL_ZERO or none given
    std::uint8_t alphaFunc = kAlphaFuncNone;
    bool clamp = false;
    bool sky = false;
    bool animMap = false;
    bool videoMap = false;
    bool lightmap = false;
    bool whiteImage = false;
    bool polygonOffset = false;
    std::uint32_t texture = 0;  // GL texture name; 0: none
    bool textureHasAlpha = false;
    std::int32_t passesDrawn = 0;  // passes of the surface drawn before this stage this frame
    std::int32_t imageHeight = 0;
    std::int32_t imageWidth = 0;
    std::string texturePath;    // resolved file of the texture
    float scrollSpeedS = 0.0f;  // texture units per second
    float scrollSpeedT = 0.0f;
    float rotationSpeed = 0.0f;  // degrees per second
    bool autosprite = false;
    TStageEffects effects;
    // Shader-wide, from the header: deformations in script order, and the sort value (0
    // while none is given; the parser settles it once the shader's stages are known).
    std::vector<TDeform> deforms;
    float sort = 0.0f;
};

// The working stage at the start of a shader's header: back faces culled and the image
// modulating what lies beneath, everything else empty.
TShaderTexture ShaderHeaderStage(const std::string& shaderName);

// Starts a new stage block: forgets what belongs to one pass and keeps what carries over.
void ResetForNextStage(TShaderTexture& stage);
