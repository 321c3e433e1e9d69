#include "render/frustum.h"

namespace {

TPlane Combine(const TMatrix4& m, int column, float sign) {
    auto value = [&](int row) { return m.at(row, 3) + sign * m.at(row, column); };
    return TPlane{{value(0), value(1), value(2)}, value(3)};
}

}  // namespace

void TFrustum::SetFromMatrices(const TMatrix4& modelview, const TMatrix4& projection) {
    const TMatrix4 clip = MatrixMultiply(modelview, projection);
    planes_[kLeft] = Combine(clip, 0, 1.0f);
    planes_[kRight] = Combine(clip, 0, -1.0f);
    planes_[kBottom] = Combine(clip, 1, 1.0f);
    planes_[kTop] = Combine(clip, 1, -1.0f);
    planes_[kNear] = Combine(clip, 2, 1.0f);
    planes_[kFar] = Combine(clip, 2, -1.0f);
}
