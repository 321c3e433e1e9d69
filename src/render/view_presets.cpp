#include "render/view_presets.h"

#include <iterator>
#include <utility>

#include "math/matrix.h"

namespace {

struct PresetAngles {
    TViewPreset preset;
    const char* name;
    TVector3 angles;  // as mouse control type 1 turns the model: about X, then Y, then Z
};

// The camera looks down the view's -Z with +Y up: a turn of -90 degrees about X stands the
// model up, and the turn about Z then chooses the side that faces the camera.
constexpr PresetAngles kAngles[] = {
    {TViewPreset::Top, "top", {0.0f, 0.0f, 0.0f}},
    {TViewPreset::Bottom, "bottom", {180.0f, 0.0f, 0.0f}},
    {TViewPreset::Front, "front", {-90.0f, 0.0f, -90.0f}},
    {TViewPreset::Back, "back", {-90.0f, 0.0f, 90.0f}},
    {TViewPreset::Left, "left", {-90.0f, 0.0f, 180.0f}},
    {TViewPreset::Right, "right", {-90.0f, 0.0f, 0.0f}},
    // Front-left, 25 degrees above.
    {TViewPreset::ThreeQuarter, "three-quarter", {-65.0f, 0.0f, -135.0f}},
};

const PresetAngles& Find(TViewPreset preset) {
    for (const PresetAngles& p : kAngles)
        if (p.preset == preset) return p;
    return kAngles[0];
}

}  // namespace

std::string ViewPresetName(TViewPreset preset) {
    return Find(preset).name;
}

std::optional<TViewPreset> ViewPresetFromName(const std::string& name) {
    for (const PresetAngles& p : kAngles)
        if (name == p.name) return p.preset;
    return std::nullopt;
}

void ApplyViewPreset(TViewState& view, TViewPreset preset) {
    const TVector3 a = Find(preset).angles;
    view.rotationAngles = a;
    // Mouse control type 2 hands its matrix to OpenGL, which reads it transposed: the
    // transpose of Rx * Ry * Rz is the product of the opposite turns in reverse order.
    view.rotationMatrix = MatrixMultiply(
        MatrixMultiply(MatrixRotationZ(-a.z), MatrixRotationY(-a.y)), MatrixRotationX(-a.x));
    view.pan = {};
}
