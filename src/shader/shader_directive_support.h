// How far this program draws each directive of the shader language: drawn, meaningless for a
// model (the map compiler's, the editor's, the lightmap's, the map's fog and sky), or not
// drawn although the game would draw it on a model. One table holds every keyword the game's
// shader parser accepts, with the argument forms where the answer depends on them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class DirectiveSupport { Drawn, NotApplicable, NotDrawn };

struct TDirectiveVerdict {
    DirectiveSupport support = DirectiveSupport::NotDrawn;
    // Not a keyword the game knows at this place (a stage keyword in the header counts too).
    bool unknown = false;
    // Why a directive does not apply to models ("map compiler", "lightmap", ...); empty
    // otherwise.
    std::string_view reason;
    // The class was decided by the directive's first argument ("rgbGen vertex"), not by its
    // keyword alone; also for a known keyword with an unknown argument.
    bool byForm = false;
};

struct TDirectiveCounts {
    std::int64_t drawn = 0;
    std::int64_t notApplicable = 0;
    std::int64_t notDrawn = 0;

    void Add(DirectiveSupport support);
    void Add(const TDirectiveCounts& other);
    // Not drawn, in percent of the directives that apply to models; 0 when none apply.
    double NotDrawnPercent() const;
};

// `words` is a directive line split into words: the keyword and its arguments, in any case.
// `inStage` tells a line inside a stage block from one in the shader's header.
TDirectiveVerdict ClassifyShaderDirective(const std::vector<std::string>& words, bool inStage);

// The JSON name of a class: "drawn", "notApplicable", "notDrawn".
std::string_view DirectiveSupportKey(DirectiveSupport support);
