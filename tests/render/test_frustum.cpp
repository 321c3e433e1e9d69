#include <gtest/gtest.h>

#include <cmath>

#include "render/frustum.h"

namespace {

// gluPerspective's matrix in OpenGL memory order (rows are what GL calls columns).
TMatrix4 Perspective(double fovDeg, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(fovDeg * 3.14159265358979323846 / 360.0);
    TMatrix4 m;
    for (float& v : m.e)
        v = 0;
    m.at(0, 0) = static_cast<float>(f / aspect);
    m.at(1, 1) = static_cast<float>(f);
    m.at(2, 2) = static_cast<float>((zFar + zNear) / (zNear - zFar));
    m.at(2, 3) = -1;
    m.at(3, 2) = static_cast<float>(2 * zFar * zNear / (zNear - zFar));
    return m;
}

// A bit per plane the point lies outside of.
int FailingSides(const TFrustum& frustum, TVector3 p) {
    int mask = 0;
    for (int i = 0; i < 6; ++i) {
        const TPlane& plane = frustum.Planes()[static_cast<std::size_t>(i)];
        if (VectorDot(plane.normal, p) + plane.distance < 0) mask |= 1 << i;
    }
    return mask;
}

}  // namespace

TEST(Frustum, PlanesEncloseWhatTheCameraSees) {
    TFrustum frustum;
    TMatrix4 camera;  // eye at (0, 0, 100) looking down -Z: translate by -100 on Z
    camera.at(3, 2) = -100;
    frustum.SetFromMatrices(camera, Perspective(90, 1, 1, 5000));

    EXPECT_EQ(FailingSides(frustum, {0, 0, 0}), 0);
    EXPECT_EQ(FailingSides(frustum, {50, -50, 40}), 0);

    EXPECT_TRUE(FailingSides(frustum, {0, 0, 150}) & (1 << TFrustum::kNear));  // behind
    EXPECT_EQ(FailingSides(frustum, {0, 0, -5000}), 1 << TFrustum::kFar);
    // 100 units in front and 90 degrees wide: the view is 200 across there.
    EXPECT_EQ(FailingSides(frustum, {120, 0, 0}), 1 << TFrustum::kRight);
    EXPECT_EQ(FailingSides(frustum, {-120, 0, 0}), 1 << TFrustum::kLeft);
    EXPECT_EQ(FailingSides(frustum, {0, 120, 0}), 1 << TFrustum::kTop);
    EXPECT_EQ(FailingSides(frustum, {0, -120, 0}), 1 << TFrustum::kBottom);
}
