// The per-vertex and per-frame keywords of the shader language, read word by word from a
// prepared (lower-cased) line as the game reads them: a number the game cannot read counts
// as 0, a missing one leaves the rest as it was, and parentheses are only separators.
#pragma once

#include <string_view>
#include <vector>

#include "shader/shader_stage.h"

// Stage lines: rgbGen, alphaGen, tcGen/texGen, tcMod, animMap, depthFunc, depthWrite and the
// blend function's effect on depth writes.
void ApplyStageEffectKeywords(std::string_view line, TShaderTexture& stage);

// Header lines: deformVertexes and sort.
void ApplyShaderEffectKeywords(std::string_view line, TShaderTexture& stage);

// The sort value the game gives a shader: the script's own; else sky before everything,
// polygon offset as a decal; else, when the first stage and a later one blend, see-through
// if that stage writes depth and blended if not; else opaque.
float SettledSort(const std::vector<TShaderTexture>& stages);
