// The fixed views a user jumps to: the model seen from one side, from above or below, or
// from the front-left above. The model's forward is +X, its left +Y and its up +Z, as in the
// game; "Top" is the view every model opened in before there was a choice.
#pragma once

#include <optional>
#include <string>

#include "render/view_state.h"

enum class TViewPreset { Top, Bottom, Front, Back, Left, Right, ThreeQuarter };

inline constexpr TViewPreset kViewPresets[] = {
    TViewPreset::Front, TViewPreset::Back,   TViewPreset::Left,        TViewPreset::Right,
    TViewPreset::Top,   TViewPreset::Bottom, TViewPreset::ThreeQuarter};

// "three-quarter" and the like, as the settings file keeps them.
std::string ViewPresetName(TViewPreset preset);
std::optional<TViewPreset> ViewPresetFromName(const std::string& name);

// Turns the model to the preset for both mouse control types, keeping pivot and zoom.
void ApplyViewPreset(TViewState& view, TViewPreset preset);
