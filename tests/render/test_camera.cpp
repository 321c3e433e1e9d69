#include <gtest/gtest.h>

#include "render/camera.h"

TEST(Camera, ResetLooksDownPositiveZFromOneUnitUp) {
    TCamera camera;
    camera.position = {5, 5, 5};
    camera.horizontalFactor = 3;
    camera.freeMove = false;
    camera.ResetCamera();
    EXPECT_EQ(camera.position, (TVector3{0, 1, 0}));
    EXPECT_EQ(camera.target, (TVector3{0, 1, 1}));
    EXPECT_EQ(camera.up, (TVector3{0, 1, 0}));
    EXPECT_FLOAT_EQ(camera.horizontalFactor, 0.1f);
    EXPECT_FLOAT_EQ(camera.verticalFactor, 0.5f);
    EXPECT_FALSE(camera.freeMove);  // a user setting, not part of the pose
}

TEST(Camera, MoveForwardKeepsTheHeightUnlessMovingFreely) {
    TCamera camera;
    camera.position = {0, 0, 0};
    camera.target = {0, 3, 4};  // d = (0, 0.6, 0.8)

    camera.freeMove = false;
    camera.MoveForward(10);
    EXPECT_FLOAT_EQ(camera.position.y, 0.0f);
    EXPECT_FLOAT_EQ(camera.position.z, 8.0f);
    EXPECT_FLOAT_EQ(camera.target.y, 0.6f);  // still looking up: only the step is level
    EXPECT_FLOAT_EQ(camera.target.z, 8.8f);

    camera.position = {0, 0, 0};
    camera.target = {0, 3, 4};
    camera.freeMove = true;
    camera.MoveForward(10);
    EXPECT_FLOAT_EQ(camera.position.y, 6.0f);
    EXPECT_FLOAT_EQ(camera.position.z, 8.0f);
}

TEST(Camera, OffsetsLieInTheViewPlane) {
    TCamera camera;
    camera.position = {0, 0, 10};
    camera.target = {0, 0, 0};
    const TVector3 right = camera.OffsetRight(2) - camera.position;
    const TVector3 up = camera.OffsetUp(3) - camera.position;
    // Looking down -Z with +Y up: cross(up, d) is -X, and the view-plane up is +Y.
    EXPECT_EQ(right, (TVector3{-2, 0, 0}));
    EXPECT_EQ(up, (TVector3{0, 3, 0}));
}
