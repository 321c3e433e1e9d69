// How the user currently looks at the model; the main window owns one and the mouse, wheel
// and reset handlers change it between redraws.
#pragma once

#include <cstdint>

#include "math/matrix.h"
#include "math/vector.h"

struct TViewState {
    TVector3 rotationAngles;            // degrees about X, Y, Z; drawn by mouse control type 1
    TMatrix4 rotationMatrix;            // accumulated rotation; drawn by mouse control type 2
    TVector3 pan;                       // applied first, in the view plane
    TVector3 pivot;                     // brings the centre of rotation to the origin
    std::int32_t cameraDistance = 500;  // the camera sits at (0, 0, distance)
    bool lockView = false;              // freezes zoom, mouse movement, reset and pivot changes
    int lastMouseX = 0;
    int lastMouseY = 0;
};

inline constexpr std::int32_t kCameraDistanceStart = 500;
inline constexpr std::int32_t kCameraDistanceMax = 5000;
inline constexpr std::int32_t kCameraDistanceMin = 10;
inline constexpr std::int32_t kWheelStep = 5;
