// Fitting the model into the view, and the resets that lead to it.
#include <gtest/gtest.h>

#include <vector>

#include "md3/md3.h"
#include "render/view_control.h"

namespace {

// A one-frame model with one surface holding the given points (in model units).
TMD3 ModelOfPoints(const std::vector<TVector3>& points) {
    TMD3 model;
    model.header.numFrames = 1;
    model.header.frames.resize(1);
    TSurface surface;
    surface.numFrames = 1;
    surface.numVerts = static_cast<int>(points.size());
    for (const TVector3& p : points) {
        TMD3Vertex v;
        v.x = static_cast<std::int16_t>(p.x * 64.0f);
        v.y = static_cast<std::int16_t>(p.y * 64.0f);
        v.z = static_cast<std::int16_t>(p.z * 64.0f);
        surface.vertices.push_back(v);
    }
    model.header.surfaces.push_back(surface);
    model.header.numSurfaces = 1;
    return model;
}

std::vector<TVector3> Cube(TVector3 min, float side) {
    std::vector<TVector3> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({min.x + ((i & 1) ? side : 0.0f), min.y + ((i & 2) ? side : 0.0f),
                           min.z + ((i & 4) ? side : 0.0f)});
    return corners;
}

TViewState TurnedView() {
    TViewState view;
    view.rotationAngles = {10, 20, 30};
    view.rotationMatrix = MatrixRotationX(45);
    view.pan = {1, 2, 3};
    view.pivot = {4, 5, 6};
    view.cameraDistance = 777;
    return view;
}

void ExpectStraight(const TViewState& view) {
    EXPECT_EQ(view.pan, kVectorZero);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(view.rotationMatrix.e[i], MatrixIdentity().e[i]);
}

}  // namespace

TEST(ViewFit, CubeIsCentredAndTheCameraBacksOffToFitIt) {
    const TMD3 model = ModelOfPoints(Cube({0, 0, 0}, 100));
    TViewState view = TurnedView();
    TCamera camera;
    FitView(view, camera, MD3FrameZeroBounds(model));

    EXPECT_EQ(view.pivot, (TVector3{-50, -50, -50}));
    EXPECT_EQ(view.cameraDistance, 115);  // tan 30 x 200 = 115.47
    EXPECT_EQ(camera.position, (TVector3{0, 0, 115}));
    EXPECT_EQ(view.rotationAngles, kVectorZero);
    ExpectStraight(view);
}

TEST(ViewFit, ModelEntirelyInNegativeSpaceUsesItsRealBox) {
    const TMD3 model = ModelOfPoints(Cube({-300, -250, -120}, 40));
    const auto bounds = MD3FrameZeroBounds(model);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(bounds->max, (TVector3{-260, -210, -80}));

    TViewState view;
    TCamera camera;
    FitView(view, camera, bounds);
    EXPECT_EQ(view.pivot, (TVector3{280, 230, 100}));
    EXPECT_EQ(view.cameraDistance, 46);  // tan 30 x 80 = 46.19
}

TEST(ViewFit, LongestAxisDecidesTheDistanceDownToTheWheelLimit) {
    const struct {
        TBounds bounds;
        std::int32_t distance;
    } cases[] = {
        {{{0, 0, 0}, {1, 1, 500}}, 577},               // tan 30 x 1000 = 577.35
        {{{0, -400, 0}, {1, 0, 1}}, 462},              // tan 30 x 800 = 461.88
        {{{0, 0, 0}, {4, 4, 4}}, kCameraDistanceMin},  // 4.62 is closer than the wheel goes
        {{{3, 3, 3}, {3, 3, 3}}, kCameraDistanceMin},  // a point: the eye must not sit on it
    };
    for (const auto& c : cases) {
        TViewState view;
        TCamera camera;
        FitView(view, camera, c.bounds);
        EXPECT_EQ(view.cameraDistance, c.distance) << c.bounds.max.x;
        EXPECT_EQ(camera.position, (TVector3{0, 0, static_cast<float>(c.distance)}));
    }
}

// A hand model carries only tags and stores zero frame bounds.
TEST(ViewFit, ModelWithoutVerticesFitsItsFrameBoundsAndFrameZeroTags) {
    TMD3 model = ModelOfPoints({});
    model.header.frames[0].minBounds = {-10, -10, -10};
    model.header.frames[0].maxBounds = {10, 30, 10};
    const auto bounds = MD3FrameZeroBounds(model);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(bounds->min, (TVector3{-10, -10, -10}));
    EXPECT_EQ(bounds->max, (TVector3{10, 30, 10}));

    model.header.frames[0] = TMD3Frame{};
    model.header.numTags = 2;
    model.header.tags.resize(2);
    model.header.tags[0].origin = {40, 0, -5};
    model.header.tags[1].origin = {0, -20, 0};
    const auto withTags = MD3FrameZeroBounds(model);
    ASSERT_TRUE(withTags.has_value());
    EXPECT_EQ(withTags->min, (TVector3{0, -20, -5}));
    EXPECT_EQ(withTags->max, (TVector3{40, 0, 0}));
}

TEST(ViewFit, ModelWithoutFramesLeavesTheViewAlone) {
    TMD3 model = ModelOfPoints(Cube({0, 0, 0}, 10));
    model.header.numFrames = 0;
    model.header.frames.clear();
    EXPECT_FALSE(MD3FrameZeroBounds(model).has_value());

    TViewState view = TurnedView();
    TCamera camera;
    const TVector3 before = camera.position;
    FitView(view, camera, std::nullopt);
    EXPECT_EQ(view.cameraDistance, 777);
    EXPECT_EQ(view.pivot, (TVector3{4, 5, 6}));
    EXPECT_EQ(camera.position, before);
}

TEST(ViewFit, ResetWithoutModelStandsTheViewUpright) {
    TViewState view = TurnedView();
    TCamera camera;
    camera.target = {9, 9, 9};
    ResetView(view, camera, /*contextReady=*/false, std::nullopt);
    EXPECT_EQ(view.rotationAngles, (TVector3{90, 0, 0}));
    EXPECT_EQ(view.pivot, kVectorZero);
    ExpectStraight(view);
    EXPECT_EQ(camera.target, (TVector3{9, 9, 9}));  // no context, no camera to aim

    ResetView(view, camera, /*contextReady=*/true, std::nullopt);
    EXPECT_EQ(camera.target, kVectorZero);
}

TEST(ViewFit, ResetWithModelEndsFitted) {
    TViewState view = TurnedView();
    TCamera camera;
    ResetView(view, camera, true, TBounds{{0, 0, 0}, {100, 100, 100}});
    EXPECT_EQ(view.rotationAngles, kVectorZero);
    EXPECT_EQ(view.pivot, (TVector3{-50, -50, -50}));
    EXPECT_EQ(view.cameraDistance, 115);
}

TEST(ViewFit, LockedViewIgnoresResets) {
    TViewState view = TurnedView();
    view.lockView = true;
    TCamera camera;
    ResetView(view, camera, true, TBounds{{0, 0, 0}, {100, 100, 100}});
    EXPECT_EQ(view.rotationAngles, (TVector3{10, 20, 30}));
    EXPECT_EQ(view.cameraDistance, 777);
}

TEST(ViewFit, StartPlacesTheTargetOneUnitAheadOnTheSameHeight) {
    TViewState view;
    TCamera camera;
    camera.freeMove = false;
    PlaceCameraAtStart(view, camera);
    EXPECT_FLOAT_EQ(camera.position.y, 0.0f);
    EXPECT_NEAR(camera.position.z, 500.0f, 1e-3f);
    EXPECT_NEAR(VectorLength(camera.target - camera.position), 1.0f, 1e-5f);
    EXPECT_LT(camera.target.z, camera.position.z);  // looking down -Z at the model
}
