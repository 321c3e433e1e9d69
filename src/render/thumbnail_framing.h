// Framing for thumbnails: the camera distance at which a sphere fills the view without
// being clipped, whatever way the model is turned.
#pragma once

#include <optional>

#include "math/vector.h"
#include "md3/md3.h"

struct TBoundingSphere {
    TVector3 centre;
    float radius = 0.0f;
};

// The sphere around the box of one frame's vertices (the frame's stored bounds when no
// surface has vertices); nothing for a frame the model does not have.
std::optional<TBoundingSphere> FrameBoundingSphere(const TMD3& model, int frame);

// Distance from the sphere's centre at which it fits a view of the given vertical field of
// view and aspect (width / height), with a small margin, and never closer than the near
// plane allows.
float FittingCameraDistance(const TBoundingSphere& sphere, double fieldOfViewDeg, double aspect,
                            double nearClip);
