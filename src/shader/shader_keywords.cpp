#include "shader/shader_keywords.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "io/decimal_text.h"
#include "shader/shader_lines.h"

namespace {

constexpr std::string_view kSeparators = " \t";

using BlendWord = std::pair<std::string_view, std::int32_t>;

constexpr std::array<BlendWord, 9> kSourceWords = {{
    {"gl_one", kGlOne},
    {"gl_zero", kGlZero},
    {"gl_dst_color", kGlDstColor},
    {"gl_one_minus_dst_color", kGlOneMinusDstColor},
    {"gl_src_alpha", kGlSrcAlpha},
    {"gl_one_minus_src_alpha", kGlOneMinusSrcAlpha},
    {"gl_dst_alpha", kGlDstAlpha},
    {"gl_one_minus_dst_alpha", kGlOneMinusDstAlpha},
    {"gl_src_alpha_saturate", kGlSrcAlphaSaturate},
}};

constexpr std::array<BlendWord, 8> kDestinationWords = {{
    {"gl_one", kGlOne},
    {"gl_zero", kGlZero},
    {"gl_src_color", kGlSrcColor},
    {"gl_one_minus_src_color", kGlOneMinusSrcColor},
    {"gl_src_alpha", kGlSrcAlpha},
    {"gl_one_minus_src_alpha", kGlOneMinusSrcAlpha},
    {"gl_dst_alpha", kGlDstAlpha},
    {"gl_one_minus_dst_alpha", kGlOneMinusDstAlpha},
}};

// A word outside its table leaves the factor as it was.
template <std::size_t N>
void LookUpBlendWord(const std::array<BlendWord, N>& words, std::string_view word,
                     std::int32_t& factor) {
    for (const BlendWord& entry : words) {
        if (entry.first == word) {
            factor = entry.second;
            return;
        }
    }
}

// Splits at the first blank or tab into two trimmed parts; false when there is neither.
bool SplitPair(std::string_view text, std::string_view& first, std::string_view& second) {
    const std::size_t at = text.find_first_of(kSeparators);
    if (at == std::string_view::npos) return false;
    first = TrimBlanks(text.substr(0, at));
    second = TrimBlanks(text.substr(at + 1));
    return true;
}

// The first image of "animmap <frequency> <image> <image> ...". Blanks and tabs may be
// mixed and repeated between the words; with a single word, that word is the image.
std::string FirstAnimMapImage(std::string_view line) {
    std::string_view rest = TextAfter(line, "animmap");
    const std::size_t afterFrequency = rest.find_first_of(kSeparators);
    if (afterFrequency != std::string_view::npos) {
        rest = rest.substr(afterFrequency);
        const std::size_t imageStart = rest.find_first_not_of(kSeparators);
        rest = imageStart == std::string_view::npos ? std::string_view() : rest.substr(imageStart);
    }
    return std::string(TrimBlanks(rest.substr(0, rest.find_first_of(kSeparators))));
}

// The "map" family. Returns false when the rest of the line must not be examined: a video
// map, lightmap or white-image line names no image file and carries nothing else we read.
bool ApplyMap(std::string_view line, TShaderTexture& stage) {
    stage.clamp = Contains(line, "clampmap");
    stage.videoMap = Contains(line, "videomap");
    stage.animMap = Contains(line, "animmap");
    stage.lightmap = Contains(line, "$lightmap");
    stage.whiteImage = Contains(line, "$whiteimage");
    if (stage.animMap) {
        stage.textureName = FirstAnimMapImage(line);
        return true;
    }
    if (stage.lightmap) stage.textureName = "$lightmap";
    if (stage.whiteImage) stage.textureName = "$whiteimage";
    if (stage.videoMap || stage.lightmap || stage.whiteImage) return false;
    stage.textureName = std::string(TextAfter(line, "map"));
    return true;
}

void ApplyScroll(std::string_view line, TShaderTexture& stage) {
    std::string_view s;
    std::string_view t;
    float speedS = 0.0f;
    float speedT = 0.0f;
    if (SplitPair(TextAfter(line, "scroll"), s, t) && ParseShaderNumber(s, speedS) &&
        ParseShaderNumber(t, speedT)) {
        stage.scrollSpeedS = speedS;
        stage.scrollSpeedT = speedT;
    } else {
        stage.scrollSpeedS = 0.0f;
        stage.scrollSpeedT = 0.0f;
    }
}

void ApplyAlphaFunc(std::string_view line, TShaderTexture& stage) {
    const std::string_view value = TextAfter(line, "alphafunc");
    if (value == "gt0") stage.alphaFunc = kAlphaFuncGT0;
    if (value == "lt128") stage.alphaFunc = kAlphaFuncLT128;
    if (value == "ge128") stage.alphaFunc = kAlphaFuncGE128;
}

void ApplyBlendFunc(std::string_view line, TShaderTexture& stage) {
    const std::string_view text = TextAfter(line, "blendfunc");
    if (Contains(text, "add")) {
        stage.blendSrc = kGlOne;
        stage.blendDst = kGlOne;
    } else if (Contains(text, "filter")) {
        stage.blendSrc = kGlDstColor;
        stage.blendDst = kGlZero;
    } else if (Contains(text, "blend")) {
        stage.blendSrc = kGlSrcAlpha;
        stage.blendDst = kGlOneMinusSrcAlpha;
    } else {
        std::string_view source = "gl_dst_color";
        std::string_view destination = "gl_zero";
        SplitPair(text, source, destination);
        LookUpBlendWord(kSourceWords, source, stage.blendSrc);
        LookUpBlendWord(kDestinationWords, destination, stage.blendDst);
    }
}

// "implicitMap" and "implicitMask" name the shader's only image in its header; "-" stands
// for the shader's own name. Returns the text that replaces the line for its later tests.
std::string_view ApplyImplicit(std::string_view line, std::string_view keyword,
                               TShaderTexture& stage) {
    const std::string_view text = TextAfter(line, keyword);
    stage.textureName = text == "-" ? stage.shaderName : std::string(text);
    return text;
}

}  // namespace

bool ParseShaderNumber(std::string_view text, float& value) {
    const std::optional<float> parsed = ParseDecimalFloat(text);
    if (parsed) value = *parsed;
    return parsed.has_value();
}

void ApplyHeaderKeywords(std::string_view line, TShaderTexture& stage) {
    if (Contains(line, "cull")) {
        if (Contains(line, "disable") || Contains(line, "none") || Contains(line, "twosided")) {
            stage.cull = kCullNone;
        } else if (Contains(line, "front")) {
            stage.cull = kCullFront;
        } else if (Contains(line, "back")) {
            stage.cull = kCullBack;
        }
    }
    if (Contains(line, "polygonoffset")) stage.polygonOffset = true;
    if (Contains(line, "qer_alphafunc")) {
        const std::string_view function = TextAfter(line, "qer_alphafunc");
        if (Contains(function, "less")) stage.alphaFunc = kAlphaFuncLT128;
        if (Contains(function, "gequal")) stage.alphaFunc = kAlphaFuncGE128;
        if (Contains(function, "greater")) stage.alphaFunc = kAlphaFuncGT0;
    }
    if (Contains(line, "implicitmap")) {
        line = ApplyImplicit(line, "implicitmap", stage);
        stage.blendSrc = kGlDstColor;
        stage.blendDst = kGlZero;
    }
    if (Contains(line, "implicitmask")) {
        line = ApplyImplicit(line, "implicitmask", stage);
        stage.blendSrc = kGlSrcAlpha;
        stage.blendDst = kGlOneMinusSrcAlpha;
        stage.alphaFunc = kAlphaFuncGT0;
    }
    if (Contains(line, "surfaceparm") && Contains(line, "sky")) stage.sky = true;
    if (Contains(line, "deformvertexes") && Contains(line, "autosprite")) {
        stage.autosprite = true;
    }
}

void ApplyStageKeywords(std::string_view line, TShaderTexture& stage) {
    if (Contains(line, "map") && !ApplyMap(line, stage)) return;
    if (Contains(line, "tcgen") && Contains(line, "environment")) stage.environment = true;
    if (Contains(line, "tcmod") && Contains(line, "scroll")) ApplyScroll(line, stage);
    if (Contains(line, "tcmod") && Contains(line, "rotate")) {
        float speed = 0.0f;
        stage.rotationSpeed = ParseShaderNumber(TextAfter(line, "rotate"), speed) ? speed : 0.0f;
    }
    if (Contains(line, "alphafunc")) ApplyAlphaFunc(line, stage);
    if (Contains(line, "blendfunc")) ApplyBlendFunc(line, stage);
}
