#include "render/camera.h"

#include "math/matrix.h"

void TCamera::ResetCamera() {
    position = {0.0f, 1.0f, 0.0f};
    target = {0.0f, 1.0f, 1.0f};
    up = {0.0f, 1.0f, 0.0f};
    horizontalFactor = 0.1f;
    verticalFactor = 0.5f;
}

TVector3 TCamera::ViewDirection() const {
    return VectorNormalize(target - position);
}

void TCamera::MoveForward(float distance) {
    const TVector3 d = ViewDirection();
    TVector3 step = d;
    if (!freeMove) step.y = 0.0f;
    position = position + step * distance;
    target = position + d;
}

void TCamera::Orbit(TVector3 anglesDeg) {
    position = target + RotateAroundPivot(position - target, kVectorZero, anglesDeg);
}

TVector3 TCamera::OffsetRight(float amount) const {
    return position + VectorCross(up, ViewDirection()) * amount;
}

TVector3 TCamera::OffsetUp(float amount) const {
    const TVector3 d = ViewDirection();
    return position + VectorCross(d, VectorCross(up, d)) * amount;
}
