// The view operations behind the mouse, the wheel, the pivot list and the view reset. They
// change only the view state and the camera; the caller redraws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "math/vector.h"
#include "render/camera.h"
#include "render/view_state.h"

class TMD3;

struct TBounds {
    TVector3 min;
    TVector3 max;
};

// Widens `box` to take in `p`.
void Enclose(TBounds& box, const TVector3& p);

// Puts the camera at (0, 0, distance) looking down -Z, as the view starts out.
void PlaceCameraAtStart(TViewState& view, TCamera& camera);

// Identity rotation, angles (90, 0, 0), no pan or pivot, then FitView. `contextReady` says
// whether the camera target may be moved (it is part of the render context's camera).
// Does nothing while the view is locked.
void ResetView(TViewState& view, TCamera& camera, bool contextReady,
               const std::optional<TBounds>& modelBounds);

// Centres the model's bounding box and backs the camera off until it fits the field of
// view, but never closer than the wheel's nearest distance. Nothing happens without bounds
// (no model, or a model without frames).
void FitView(TViewState& view, TCamera& camera, const std::optional<TBounds>& modelBounds);

// The bounding box of frame 0 over every surface vertex; when no surface has a vertex, the
// stored frame-0 bounds widened to the frame-0 tag origins. Nothing for a model without
// frames.
std::optional<TBounds> MD3FrameZeroBounds(const TMD3& model);

// One wheel notch: down moves the camera away, up brings it closer, within the limits.
// The camera returns to the Z axis either way. False, with nothing changed, while locked.
bool WheelZoom(TViewState& view, TCamera& camera, bool wheelDown);

struct TMouseMove {
    int x = 0;
    int y = 0;
    bool leftButton = false;
    bool rightButton = false;
    bool shift = false;
    bool ctrl = false;
};

// Pans, orbits or rotates by the pointer's movement since the last call, by the buttons and
// keys held. The pointer position is remembered even when nothing moves (or the view is
// locked) so that the next movement starts from where the pointer really is.
void MouseMove(TViewState& view, TCamera& camera, const TMouseMove& move);

// The pivot list changed: the view straightens and the chosen tag's frame-0 origin becomes
// the centre of rotation (none, or an index past the tags, means the model's origin).
// Returns false, with nothing changed, while locked.
bool SelectMD3TagPivot(TViewState& view, const TMD3& model, int tagIndex);

// The caption of the mouse control switch: the action caption and the type in use.
std::string MouseControlCaption(const std::string& actionCaption, bool typeTwo);

// The colour-convert tool's caption for a packed colour 0x00BBGGRR.
std::string ColorConvertCaption(std::uint32_t colour);
inline constexpr const char* kColorConvertInitialCaption = "Radiant: 0 0 0    Web: #000000";
