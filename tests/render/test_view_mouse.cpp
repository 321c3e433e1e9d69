// Wheel zoom, mouse dragging and the pivot list.
#include <gtest/gtest.h>

#include <cmath>

#include "md3/md3.h"
#include "render/view_control.h"

namespace {

void ExpectNear(TVector3 a, TVector3 b, float eps = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

struct Rig {
    TViewState view;
    TCamera camera;
    Rig() { PlaceCameraAtStart(view, camera); }

    void Drag(int dx, int dy, bool left, bool right = false, bool shift = false,
              bool ctrl = false) {
        MouseMove(view, camera,
                  {view.lastMouseX + dx, view.lastMouseY + dy, left, right, shift, ctrl});
    }
};

}  // namespace

TEST(ViewWheel, ZoomStopsAtBothLimits) {
    Rig rig;
    for (int i = 0; i < 1000; ++i)
        WheelZoom(rig.view, rig.camera, /*wheelDown=*/true);
    EXPECT_EQ(rig.view.cameraDistance, 5000);
    EXPECT_EQ(rig.camera.position, (TVector3{0, 0, 5000}));

    Rig near;
    for (int i = 0; i < 1000; ++i)
        WheelZoom(near.view, near.camera, /*wheelDown=*/false);
    EXPECT_EQ(near.view.cameraDistance, 10);
}

TEST(ViewWheel, OneStepAfterAnOrbitPutsTheCameraBackOnTheZAxis) {
    Rig rig;
    rig.camera.target = kVectorZero;
    rig.Drag(30, 20, /*left=*/true, false, false, /*ctrl=*/true);
    ASSERT_GT(std::fabs(rig.camera.position.x) + std::fabs(rig.camera.position.y), 1.0f);

    EXPECT_TRUE(WheelZoom(rig.view, rig.camera, true));
    EXPECT_EQ(rig.camera.position, (TVector3{0, 0, 505}));
}

TEST(ViewWheel, LockedViewDoesNotZoom) {
    Rig rig;
    rig.view.lockView = true;
    EXPECT_FALSE(WheelZoom(rig.view, rig.camera, true));
    EXPECT_EQ(rig.view.cameraDistance, 500);
}

TEST(ViewMouse, OrbitCirclesTheTargetAtTheSameDistance) {
    Rig rig;
    rig.camera.target = kVectorZero;
    rig.Drag(0, 90, true, false, false, true);  // v = 90 degrees about X
    ExpectNear(rig.camera.position, {0, 500, 0}, 1e-2f);
    EXPECT_EQ(rig.camera.target, kVectorZero);
}

TEST(ViewMouse, ShiftDragPansWithThePointer) {
    Rig rig;
    rig.camera.target = {0, 0, 499};
    // 10 pixels right is 2 units (2 x 0.1 per pixel), 4 pixels down is 4 units (2 x 0.5).
    rig.Drag(10, 4, true, false, /*shift=*/true);
    ExpectNear(rig.view.pan, {2, -4, 0});
    EXPECT_EQ(rig.view.rotationAngles, kVectorZero);
}

TEST(ViewMouse, LeftDragTurnsInModelAxesAndRightDragInViewAxes) {
    Rig rig;
    rig.Drag(450, 0, /*left=*/true);  // h = 90
    EXPECT_EQ(rig.view.rotationAngles, (TVector3{0, 90, 0}));
    EXPECT_EQ(rig.camera.target, kVectorZero);
    // RotationY(-90) turns +X onto -Z.
    ExpectNear(MatrixTransformPoint(kVectorPosX, rig.view.rotationMatrix), kVectorNegZ);

    // The right button's turn is applied before the accumulated one: +X goes to +Y under
    // RotationZ(-90) and stays there under RotationY(-90). Applied after, it would end on -Z.
    rig.Drag(0, 90, false, /*right=*/true);  // v = 90
    EXPECT_EQ(rig.view.rotationAngles, (TVector3{0, 90, -90}));
    ExpectNear(MatrixTransformPoint(kVectorPosX, rig.view.rotationMatrix), kVectorPosY);
}

TEST(ViewMouse, LeftDragComposesAfterTheAccumulatedTurn) {
    Rig rig;
    rig.Drag(0, 90, /*left=*/true);   // RotationX(-90), turning +Y onto +Z
    rig.Drag(450, 0, /*left=*/true);  // then RotationY(-90)
    // p . Rx(-90) . Ry(-90): +Y -> +Z -> +X.
    ExpectNear(MatrixTransformPoint(kVectorPosY, rig.view.rotationMatrix), kVectorPosX);
}

TEST(ViewMouse, PointerIsTrackedEvenWhenNothingMoves) {
    Rig rig;
    MouseMove(rig.view, rig.camera, {100, 100, false, false, false, false});
    rig.view.lockView = true;
    MouseMove(rig.view, rig.camera, {200, 100, true, false, false, false});
    EXPECT_EQ(rig.view.rotationAngles, kVectorZero);
    rig.view.lockView = false;
    // Only the 10 pixels since the locked move count: h = 2.
    MouseMove(rig.view, rig.camera, {210, 100, true, false, false, false});
    EXPECT_EQ(rig.view.rotationAngles, (TVector3{0, 2, 0}));
}

TEST(ViewPivot, ChosenTagOfFrameZeroBecomesThePivot) {
    TMD3 model;
    model.header.numFrames = 2;
    model.header.numTags = 2;
    model.header.tags.resize(4);
    model.header.tags[1].origin = {1, 2, 3};
    model.header.tags[2].origin = {7, 8, 9};  // frame 1's first tag

    TViewState view;
    view.rotationAngles = {5, 5, 5};
    view.pan = {1, 1, 1};
    EXPECT_TRUE(SelectMD3TagPivot(view, model, 1));
    EXPECT_EQ(view.pivot, (TVector3{-1, -2, -3}));
    EXPECT_EQ(view.rotationAngles, kVectorZero);
    EXPECT_EQ(view.pan, kVectorZero);

    // Past the tags of frame 0 (though inside the array), none chosen: the model's origin.
    EXPECT_TRUE(SelectMD3TagPivot(view, model, 2));
    EXPECT_EQ(view.pivot, kVectorZero);
    view.pivot = {4, 4, 4};
    EXPECT_TRUE(SelectMD3TagPivot(view, model, -1));
    EXPECT_EQ(view.pivot, kVectorZero);

    view.lockView = true;
    EXPECT_FALSE(SelectMD3TagPivot(view, model, 1));
    EXPECT_EQ(view.pivot, kVectorZero);
}

TEST(ViewCaptions, ColourConvertAndMouseControl) {
    EXPECT_EQ(ColorConvertCaption(0x0000FF), "Radiant: 1.000 0.000 0.000     Web: #FF0000");
    // 0x00BBGGRR: red 0x40, green 0x80, blue 0xC0.
    EXPECT_EQ(ColorConvertCaption(0xC08040), "Radiant: 0.251 0.502 0.753     Web: #4080C0");
    EXPECT_EQ(ColorConvertCaption(0), "Radiant: 0.000 0.000 0.000     Web: #000000");
    EXPECT_EQ(MouseControlCaption("Mouse Control Type", true), "Mouse Control Type 2");
    EXPECT_EQ(MouseControlCaption("Mouse Control Type", false), "Mouse Control Type 1");
}
