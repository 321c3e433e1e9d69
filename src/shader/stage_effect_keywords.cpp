#include "shader/stage_effect_keywords.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "io/decimal_text.h"

namespace {

using Words = std::vector<std::string_view>;

Words SplitWords(std::string_view line) {
    Words words;
    constexpr std::string_view kSeparators = " \t()";
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(kSeparators, at);
        if (start == std::string_view::npos) break;
        const std::size_t end = line.find_first_of(kSeparators, start);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        words.push_back(line.substr(start, stop - start));
        at = stop;
    }
    return words;
}

// Reads the words after the keyword one at a time, the way the game's parser hands them out.
class TWordReader {
  public:
    explicit TWordReader(Words words, std::size_t first = 1)
        : words_(std::move(words)), next_(first) {}

    bool HasMore() const { return next_ < words_.size(); }
    std::string_view Word() { return HasMore() ? words_[next_++] : std::string_view(); }
    // A number as the game reads one: text that is no number counts as 0.
    std::optional<float> Number() {
        if (!HasMore()) return std::nullopt;
        return ParseDecimalFloat(words_[next_++]).value_or(0.0f);
    }
    float NumberOr(float fallback) { return Number().value_or(fallback); }

  private:
    Words words_;
    std::size_t next_;
};

TWaveForm WaveFormNamed(std::string_view name) {
    if (name == "square") return TWaveForm::Square;
    if (name == "triangle") return TWaveForm::Triangle;
    if (name == "sawtooth") return TWaveForm::Sawtooth;
    if (name == "inversesawtooth") return TWaveForm::InverseSawtooth;
    if (name == "noise") return TWaveForm::Noise;
    return TWaveForm::Sin;  // the game's choice for "sin" and for names it does not know
}

// "<form> <base> <amplitude> <phase> <frequency>"; the values read before a missing one stay.
TWave ReadWave(TWordReader& in) {
    TWave wave;
    if (!in.HasMore()) return wave;
    wave.form = WaveFormNamed(in.Word());
    for (float* value : {&wave.base, &wave.amplitude, &wave.phase, &wave.frequency}) {
        const std::optional<float> number = in.Number();
        if (!number) break;
        *value = *number;
    }
    return wave;
}

std::uint8_t ColourByte(float fraction) {
    // The game stores 255 * value in a byte, wrapping what falls outside.
    return static_cast<std::uint8_t>(static_cast<int>(255.0f * fraction));
}

void ApplyRgbGen(TWordReader& in, TStageEffects& fx) {
    const std::string_view kind = in.Word();
    static constexpr std::array<std::pair<std::string_view, TRgbGen>, 9> kPlain = {{
        {"identity", TRgbGen::Identity},
        {"identitylighting", TRgbGen::IdentityLighting},
        {"entity", TRgbGen::Entity},
        {"oneminusentity", TRgbGen::OneMinusEntity},
        {"vertex", TRgbGen::Vertex},
        {"exactvertex", TRgbGen::ExactVertex},
        {"lightingdiffuse", TRgbGen::LightingDiffuse},
        {"oneminusvertex", TRgbGen::OneMinusVertex},
        {"wave", TRgbGen::Wave},
    }};
    if (kind == "const") {
        for (std::size_t i = 0; i < 3; ++i)
            fx.constColour[i] = ColourByte(in.NumberOr(0.0f));
        fx.rgbGen = TRgbGen::Const;
        return;
    }
    for (const auto& [name, gen] : kPlain) {
        if (kind != name) continue;
        fx.rgbGen = gen;
        if (gen == TRgbGen::Wave) fx.rgbWave = ReadWave(in);
        // Vertex colours bring their alpha along unless the stage says otherwise.
        if (gen == TRgbGen::Vertex && fx.alphaGen == TAlphaGen::NotGiven)
            fx.alphaGen = TAlphaGen::Vertex;
        return;
    }
}

void ApplyAlphaGen(TWordReader& in, TStageEffects& fx) {
    const std::string_view kind = in.Word();
    static constexpr std::array<std::pair<std::string_view, TAlphaGen>, 7> kPlain = {{
        {"identity", TAlphaGen::Identity},
        {"entity", TAlphaGen::Entity},
        {"oneminusentity", TAlphaGen::OneMinusEntity},
        {"vertex", TAlphaGen::Vertex},
        {"lightingspecular", TAlphaGen::LightingSpecular},
        {"oneminusvertex", TAlphaGen::OneMinusVertex},
        {"normalzfade", TAlphaGen::NormalZFade},
    }};
    if (kind == "wave") {
        fx.alphaWave = ReadWave(in);
        fx.alphaGen = TAlphaGen::Wave;
    } else if (kind == "const") {
        fx.constColour[3] = ColourByte(in.NumberOr(0.0f));
        fx.alphaGen = TAlphaGen::Const;
    } else if (kind == "portal") {
        fx.portalRange = in.NumberOr(256.0f);
        fx.alphaGen = TAlphaGen::Portal;
    } else {
        for (const auto& [name, gen] : kPlain) {
            if (kind == name) fx.alphaGen = gen;
        }
    }
}

void ApplyTcGen(TWordReader& in, TShaderTexture& stage) {
    TStageEffects& fx = stage.effects;
    const std::string_view kind = in.Word();
    if (kind == "environment") {
        fx.tcGen = TTcGen::Environment;
    } else if (kind == "lightmap") {
        fx.tcGen = TTcGen::Lightmap;
    } else if (kind == "texture" || kind == "base") {
        fx.tcGen = TTcGen::Base;
    } else if (kind == "vector") {
        for (auto& vector : fx.tcGenVectors)
            for (float& v : vector)
                v = in.NumberOr(0.0f);
        fx.tcGen = TTcGen::Vector;
    }
}

void ApplyTcMod(TWordReader& in, TStageEffects& fx) {
    const std::string_view kind = in.Word();
    TTcMod mod;
    std::size_t numbers = 0;
    if (kind == "scroll") {
        mod.kind = TTcModKind::Scroll, numbers = 2;
    } else if (kind == "scale") {
        mod.kind = TTcModKind::Scale, numbers = 2;
    } else if (kind == "rotate") {
        mod.kind = TTcModKind::Rotate, numbers = 1;
    } else if (kind == "transform") {
        mod.kind = TTcModKind::Transform, numbers = 6;
    } else if (kind == "swap") {
        mod.kind = TTcModKind::Swap;
    } else if (kind == "turb") {
        // Its wave has no form: the game always turns a sine.
        mod.kind = TTcModKind::Turb;
        for (float* value :
             {&mod.wave.base, &mod.wave.amplitude, &mod.wave.phase, &mod.wave.frequency})
            *value = in.NumberOr(0.0f);
    } else if (kind == "stretch") {
        mod.kind = TTcModKind::Stretch;
        mod.wave = ReadWave(in);
    } else {
        return;  // entityTranslate and unknown kinds change nothing on a lone model
    }
    for (std::size_t i = 0; i < numbers; ++i)
        mod.values[i] = in.NumberOr(0.0f);
    fx.tcMods.push_back(mod);
}

void ApplyAnimMap(TWordReader& in, TStageEffects& fx) {
    fx.animFrequency = in.NumberOr(0.0f);
    fx.animFrames.clear();
    constexpr std::size_t kMostFrames = 8;  // the game keeps the first eight
    while (in.HasMore()) {
        const std::string_view frame = in.Word();
        if (fx.animFrames.size() < kMostFrames) fx.animFrames.emplace_back(frame);
    }
}

void ApplyBlend(TWordReader& in, TStageEffects& fx) {
    const std::string_view first = in.Word();
    if (first.empty()) return;
    const bool noBlend = first == "gl_one" && in.Word() == "gl_zero";
    fx.blendGiven = !noBlend;
    if (noBlend) {
        fx.depthWrite = true;
    } else if (!fx.depthWriteGiven) {
        fx.depthWrite = false;
    }
}

TDeform ReadDeform(TWordReader& in, bool& known) {
    TDeform deform;
    known = true;
    const std::string_view kind = in.Word();
    if (kind == "wave") {
        deform.kind = TDeformKind::Wave;
        const float division = in.NumberOr(0.0f);
        deform.spread = division != 0.0f ? 1.0f / division : 100.0f;
        deform.wave = ReadWave(in);
    } else if (kind == "normal") {
        deform.kind = TDeformKind::Normal;
        deform.wave.amplitude = in.NumberOr(0.0f);
        deform.wave.frequency = in.NumberOr(0.0f);
    } else if (kind == "bulge") {
        deform.kind = TDeformKind::Bulge;
        deform.bulgeWidth = in.NumberOr(0.0f);
        deform.bulgeHeight = in.NumberOr(0.0f);
        deform.bulgeSpeed = in.NumberOr(0.0f);
    } else if (kind == "move") {
        deform.kind = TDeformKind::Move;
        for (float& v : deform.move)
            v = in.NumberOr(0.0f);
        deform.wave = ReadWave(in);
    } else if (kind == "autosprite") {
        deform.kind = TDeformKind::Autosprite;
    } else if (kind == "autosprite2") {
        deform.kind = TDeformKind::Autosprite2;
    } else if (kind == "projectionshadow") {
        deform.kind = TDeformKind::ProjectionShadow;
    } else if (kind.substr(0, 4) == "text") {
        deform.kind = TDeformKind::Text;
    } else {
        known = false;
    }
    return deform;
}

float SortNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, float>, 9> kNames = {{
        {"portal", kSortPortal},
        {"sky", kSortEnvironment},
        {"opaque", kSortOpaque},
        {"decal", kSortDecal},
        {"seethrough", kSortSeeThrough},
        {"banner", kSortBanner},
        {"additive", kSortAdditive},
        {"nearest", kSortNearest},
        {"underwater", kSortUnderwater},
    }};
    for (const auto& [word, value] : kNames) {
        if (name == word) return value;
    }
    return ParseDecimalFloat(name).value_or(0.0f);
}

}  // namespace

void ApplyStageEffectKeywords(std::string_view line, TShaderTexture& stage) {
    Words words = SplitWords(line);
    if (words.empty()) return;
    const std::string_view keyword = words.front();
    TWordReader in(std::move(words));
    TStageEffects& fx = stage.effects;
    if (keyword == "rgbgen") {
        ApplyRgbGen(in, fx);
    } else if (keyword == "alphagen") {
        ApplyAlphaGen(in, fx);
    } else if (keyword == "tcgen" || keyword == "texgen") {
        ApplyTcGen(in, stage);
    } else if (keyword == "tcmod") {
        ApplyTcMod(in, fx);
    } else if (keyword == "animmap") {
        ApplyAnimMap(in, fx);
    } else if (keyword == "blendfunc") {
        ApplyBlend(in, fx);
    } else if (keyword == "depthwrite") {
        fx.depthWrite = true;
        fx.depthWriteGiven = true;
    } else if (keyword == "depthfunc") {
        const std::string_view function = in.Word();
        if (function == "equal") fx.depthFunc = TDepthFunc::Equal;
        if (function == "lequal") fx.depthFunc = TDepthFunc::LessEqual;
    }
}

void ApplyShaderEffectKeywords(std::string_view line, TShaderTexture& stage) {
    Words words = SplitWords(line);
    if (words.empty()) return;
    const std::string_view keyword = words.front();
    TWordReader in(std::move(words));
    if (keyword == "deformvertexes") {
        bool known = false;
        const TDeform deform = ReadDeform(in, known);
        constexpr std::size_t kMostDeforms = 3;  // the game's limit per shader
        if (known && stage.deforms.size() < kMostDeforms) stage.deforms.push_back(deform);
    } else if (keyword == "sort" && in.HasMore()) {
        stage.sort = SortNamed(in.Word());
    }
}

float SettledSort(const std::vector<TShaderTexture>& stages) {
    if (stages.empty()) return kSortOpaque;
    const TShaderTexture& first = stages.front();
    if (first.sort != 0.0f) return first.sort;
    if (first.sky) return kSortEnvironment;
    if (first.polygonOffset) return kSortDecal;
    if (first.effects.blendGiven) {
        for (const TShaderTexture& stage : stages) {
            if (stage.effects.blendGiven)
                return stage.effects.depthWrite ? kSortSeeThrough : kSortBlend0;
        }
    }
    return kSortOpaque;
}
