#include "shader/shader_directive_support.h"

#include <array>

#include "shader/shader_lines.h"

namespace {

using S = DirectiveSupport;

enum class Place { Header, Stage };

// One keyword, or one argument form of it. A keyword or form ending in '*' matches every word
// that starts with what comes before the '*'. An empty form stands for every form without a
// row of its own; a keyword whose rows all name forms treats any other form as unknown, as
// the game warns about it and ignores the line.
struct TDirectiveRow {
    Place place;
    std::string_view keyword;  // lower case
    std::string_view form;     // lower case
    DirectiveSupport support;
    std::string_view reason;  // only for directives that do not apply to models
};

constexpr std::string_view kCompiler = "map compiler";
constexpr std::string_view kEditor = "editor";
constexpr std::string_view kLightmap = "lightmap";
constexpr std::string_view kMapFog = "fog of the map";
constexpr std::string_view kMapSky = "sky of the map";
constexpr std::string_view kMapLight = "light of the map";

constexpr Place H = Place::Header;
constexpr Place T = Place::Stage;

// Every keyword the game's shader parser accepts, at the place it accepts it.
constexpr std::array kRows = std::to_array<TDirectiveRow>({
    // Read by the map compiler and the editor only; the game skips them.
    {H, "qer*", "", S::NotApplicable, kEditor},
    {H, "q3map*", "", S::NotApplicable, kCompiler},
    {H, "surfaceparm", "", S::NotApplicable, kCompiler},
    {H, "tesssize", "", S::NotApplicable, kCompiler},
    {H, "light", "", S::NotApplicable, kCompiler},
    // Settings of the map as a whole, taken from whichever shader carries them.
    {H, "fogparms", "", S::NotApplicable, kMapFog},
    {H, "fogvars", "", S::NotApplicable, kMapFog},
    {H, "skyfogvars", "", S::NotApplicable, kMapFog},
    {H, "waterfogvars", "", S::NotApplicable, kMapFog},
    {H, "nofog", "", S::NotApplicable, kMapFog},
    {H, "skyparms", "", S::NotApplicable, kMapSky},
    {H, "sunshader", "", S::NotApplicable, kMapSky},
    {H, "lightgridmulamb", "", S::NotApplicable, kMapLight},
    {H, "lightgridmuldir", "", S::NotApplicable, kMapLight},
    {H, "portal", "", S::NotApplicable, "portal of the map"},
    // How the game stores and batches what it draws; the picture is the same.
    {H, "entitymergable", "", S::NotApplicable, "batching in the game"},
    {H, "allowcompress", "", S::NotApplicable, "texture compression"},
    {H, "nocompress", "", S::NotApplicable, "texture compression"},
    // Images are always drawn at their full size without reduced copies of lower detail,
    // which is what these ask for.
    {H, "nopicmip", "", S::Drawn, {}},
    {H, "nomipmaps", "", S::Drawn, {}},
    {H, "nomipmap", "", S::Drawn, {}},
    {H, "cull", "", S::Drawn, {}},
    {H, "polygonoffset", "", S::Drawn, {}},
    {H, "sort", "", S::Drawn, {}},
    {H, "implicitmap", "", S::Drawn, {}},
    {H, "implicitmask", "", S::Drawn, {}},
    {H, "implicitblend", "", S::NotDrawn, {}},
    // The game reads any other "implicit..." word as implicitMap.
    {H, "implicit*", "", S::NotDrawn, {}},
    {H, "deformvertexes", "wave", S::Drawn, {}},
    {H, "deformvertexes", "normal", S::Drawn, {}},
    {H, "deformvertexes", "bulge", S::Drawn, {}},
    {H, "deformvertexes", "move", S::Drawn, {}},
    {H, "deformvertexes", "autosprite", S::Drawn, {}},
    {H, "deformvertexes", "autosprite2", S::Drawn, {}},
    {H, "deformvertexes", "projectionshadow", S::NotApplicable, "shadow on the game's floor"},
    {H, "deformvertexes", "text*", S::NotApplicable, "text the game supplies"},
    {H, "distancecull", "", S::NotDrawn, {}},
    {H, "clamptime", "", S::NotDrawn, {}},

    {T, "map", "$lightmap", S::NotApplicable, kLightmap},
    {T, "map", "$dlight", S::NotApplicable, "dynamic lights of the map"},
    {T, "map", "", S::Drawn, {}},  // an image, $whiteimage or *white
    {T, "clampmap", "", S::Drawn, {}},
    {T, "lightmap", "", S::NotApplicable, kLightmap},
    {T, "animmap", "", S::Drawn, {}},
    // Images chosen by colour depth and texture compression.
    {T, "map16", "", S::NotDrawn, {}},
    {T, "map32", "", S::NotDrawn, {}},
    {T, "mapcomp", "", S::NotDrawn, {}},
    {T, "mapnocomp", "", S::NotDrawn, {}},
    {T, "animmapcomp", "", S::NotDrawn, {}},
    {T, "animmapnocomp", "", S::NotDrawn, {}},
    {T, "videomap", "", S::NotDrawn, {}},
    {T, "alphafunc", "", S::Drawn, {}},
    {T, "blendfunc", "", S::Drawn, {}},
    {T, "depthfunc", "", S::Drawn, {}},
    {T, "depthwrite", "", S::Drawn, {}},
    // Marks a stage the game leaves out only when the player turns detail textures off.
    {T, "detail", "", S::Drawn, {}},
    {T, "fog", "", S::NotApplicable, kMapFog},
    {T, "rgbgen", "identity", S::Drawn, {}},
    {T, "rgbgen", "identitylighting", S::Drawn, {}},
    {T, "rgbgen", "const", S::Drawn, {}},
    {T, "rgbgen", "wave", S::Drawn, {}},
    {T, "rgbgen", "vertex", S::Drawn, {}},
    {T, "rgbgen", "exactvertex", S::Drawn, {}},
    {T, "rgbgen", "lightingdiffuse", S::Drawn, {}},
    {T, "rgbgen", "entity", S::Drawn, {}},
    {T, "rgbgen", "oneminusentity", S::Drawn, {}},
    {T, "rgbgen", "oneminusvertex", S::Drawn, {}},
    {T, "alphagen", "identity", S::Drawn, {}},
    {T, "alphagen", "const", S::Drawn, {}},
    {T, "alphagen", "wave", S::Drawn, {}},
    {T, "alphagen", "vertex", S::Drawn, {}},
    {T, "alphagen", "entity", S::Drawn, {}},
    {T, "alphagen", "lightingspecular", S::Drawn, {}},
    {T, "alphagen", "portal", S::Drawn, {}},
    {T, "alphagen", "oneminusentity", S::Drawn, {}},
    {T, "alphagen", "oneminusvertex", S::Drawn, {}},
    {T, "alphagen", "normalzfade", S::NotDrawn, {}},
    {T, "tcgen", "base", S::Drawn, {}},
    {T, "tcgen", "texture", S::Drawn, {}},
    {T, "tcgen", "environment", S::Drawn, {}},
    {T, "tcgen", "vector", S::Drawn, {}},
    {T, "tcgen", "lightmap", S::NotApplicable, kLightmap},
    {T, "tcgen", "firerisenv", S::NotDrawn, {}},
    {T, "texgen", "base", S::Drawn, {}},
    {T, "texgen", "texture", S::Drawn, {}},
    {T, "texgen", "environment", S::Drawn, {}},
    {T, "texgen", "vector", S::Drawn, {}},
    {T, "texgen", "lightmap", S::NotApplicable, kLightmap},
    {T, "texgen", "firerisenv", S::NotDrawn, {}},
    {T, "tcmod", "scroll", S::Drawn, {}},
    {T, "tcmod", "rotate", S::Drawn, {}},
    {T, "tcmod", "scale", S::Drawn, {}},
    {T, "tcmod", "stretch", S::Drawn, {}},
    {T, "tcmod", "transform", S::Drawn, {}},
    {T, "tcmod", "turb", S::Drawn, {}},
    {T, "tcmod", "swap", S::Drawn, {}},
    {T, "tcmod", "entitytranslate", S::NotDrawn, {}},
});

bool WordMatches(std::string_view pattern, std::string_view word) {
    if (!pattern.empty() && pattern.back() == '*') {
        pattern.remove_suffix(1);
        return word.substr(0, pattern.size()) == pattern;
    }
    return word == pattern;
}

}  // namespace

TDirectiveVerdict ClassifyShaderDirective(const std::vector<std::string>& words, bool inStage) {
    if (words.empty()) return {S::NotDrawn, true, {}};
    const Place place = inStage ? Place::Stage : Place::Header;
    const std::string keyword = LowerCase(words[0]);
    const std::string form = words.size() > 1 ? LowerCase(words[1]) : std::string();
    const TDirectiveRow* anyForm = nullptr;
    bool keywordKnown = false;
    for (const TDirectiveRow& row : kRows) {
        if (row.place != place || !WordMatches(row.keyword, keyword)) continue;
        keywordKnown = true;
        if (row.form.empty()) {
            if (anyForm == nullptr) anyForm = &row;
        } else if (WordMatches(row.form, form)) {
            return {row.support, false, row.reason, true};
        }
    }
    if (anyForm != nullptr) return {anyForm->support, false, anyForm->reason};
    // A known keyword with a form the game does not know.
    return {S::NotDrawn, true, {}, keywordKnown};
}

std::string_view DirectiveSupportKey(DirectiveSupport support) {
    switch (support) {
        case S::Drawn:
            return "drawn";
        case S::NotApplicable:
            return "notApplicable";
        case S::NotDrawn:
            break;
    }
    return "notDrawn";
}

void TDirectiveCounts::Add(DirectiveSupport support) {
    switch (support) {
        case S::Drawn:
            ++drawn;
            return;
        case S::NotApplicable:
            ++notApplicable;
            return;
        case S::NotDrawn:
            ++notDrawn;
            return;
    }
}

void TDirectiveCounts::Add(const TDirectiveCounts& other) {
    drawn += other.drawn;
    notApplicable += other.notApplicable;
    notDrawn += other.notDrawn;
}

double TDirectiveCounts::NotDrawnPercent() const {
    const std::int64_t apply = drawn + notDrawn;
    return apply == 0 ? 0.0 : 100.0 * static_cast<double>(notDrawn) / static_cast<double>(apply);
}
