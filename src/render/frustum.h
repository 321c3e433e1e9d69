// The six clip planes of the current view, kept in step with the camera after every look-at.
#pragma once

#include <array>

#include "math/matrix.h"
#include "math/plane.h"

class TFrustum {
  public:
    enum Side { kLeft, kRight, kBottom, kTop, kNear, kFar };

    // Planes of the combined transform modelview . projection, not normalised: a point p
    // lies inside when normal . p + distance >= 0 for every plane.
    void SetFromMatrices(const TMatrix4& modelview, const TMatrix4& projection);

    const std::array<TPlane, 6>& Planes() const { return planes_; }

  private:
    std::array<TPlane, 6> planes_{};
};
