// The view camera: an eye point looking at a target, moved by the mouse handlers.
#pragma once

#include "math/vector.h"

class TCamera {
  public:
    TCamera() { ResetCamera(); }

    TVector3 position;
    TVector3 target;
    TVector3 up;
    float horizontalFactor = 0.1f;
    float verticalFactor = 0.5f;
    // When false, steps along the view direction keep the eye at its height.
    bool freeMove = true;

    // Leaves freeMove alone: it is a user choice, not part of the camera's pose.
    void ResetCamera();

    TVector3 ViewDirection() const;

    // Moves the eye along the view direction and puts the target one unit ahead of it.
    void MoveForward(float distance);

    // Circles the eye around the target by X, then Y, then Z degrees.
    void Orbit(TVector3 anglesDeg);

    // Points beside and above the eye, in the view plane, `amount` units away.
    TVector3 OffsetRight(float amount) const;
    TVector3 OffsetUp(float amount) const;
};
