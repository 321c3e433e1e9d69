// The subset of the shader language this program understands, applied one prepared
// (lower-cased) line at a time to the working stage. Every keyword is a substring test, so
// "map" also fires inside "clampmap" or inside an argument that contains those letters;
// every other line leaves the stage as it is.
#pragma once

#include <string_view>

#include "shader/shader_stage.h"

// Lines between a shader's opening brace and its first stage: culling, polygon offset, the
// editor's alpha function, implicit maps and masks, sky and autosprite.
void ApplyHeaderKeywords(std::string_view line, TShaderTexture& stage);

// Lines inside a stage block: the image, environment mapping, scroll and rotation, alpha
// function and blend factors.
void ApplyStageKeywords(std::string_view line, TShaderTexture& stage);

// A decimal number as scripts write it ("0.5", "-.125", "+2", "1e-3"): the whole text must
// be the number. False for anything else, including infinities and out-of-range values.
bool ParseShaderNumber(std::string_view text, float& value);
