#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "math/matrix.h"
#include "math/plane.h"
#include "math/scalar.h"
#include "math/vector.h"

namespace {

void ExpectNear(TVector3 actual, TVector3 expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Vector, NormalizeKeepsZeroAndScalesToUnitLength) {
    EXPECT_EQ(VectorNormalize(kVectorZero), kVectorZero);
    const TVector3 n = VectorNormalize({3, 0, 4});
    EXPECT_NEAR(n.x, 0.6f, 0.6f * std::ldexp(1.0f, -11));
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_NEAR(n.z, 0.8f, 0.8f * std::ldexp(1.0f, -11));
}

TEST(Vector, EqualEpsIsStrictOnEveryAxis) {
    EXPECT_TRUE(VectorEqualEps({1, 2, 3}, {1.4f, 2, 3}, 0.5f));
    // A difference exactly equal to eps is not equal.
    EXPECT_FALSE(VectorEqualEps({0, 0, 0}, {0, 0.5f, 0}, 0.5f));
    EXPECT_FALSE(VectorEqualEps({0, 0, 0}, {0, 0, -0.75f}, 0.5f));
}

TEST(Vector, NegateFlipsOnlyTheSignBit) {
    const TVector3 n = VectorNegate({0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()});
    EXPECT_TRUE(std::signbit(n.x));
    EXPECT_EQ(n.y, 2.0f);
    EXPECT_TRUE(std::isnan(n.z));
    EXPECT_TRUE(std::signbit(n.z));
}

TEST(Vector, AverageCrossAndTriangleNormal) {
    EXPECT_EQ(VectorAverage(nullptr, 0), kVectorZero);
    const TVector3 pts[3] = {{0, 0, 0}, {3, 0, 0}, {0, 6, 3}};
    ExpectNear(VectorAverage(pts, 3), {1, 2, 1}, 1e-6f);
    EXPECT_EQ(VectorCross(kVectorPosX, kVectorPosY), kVectorPosZ);
    EXPECT_EQ(VectorNegativeDot({1, 2, 3}, {4, 5, 6}), -32.0f);
    // (c - b) x (a - b): the counter-clockwise triangle seen from +Z faces +Z.
    ExpectNear(TriangleNormal({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), {0, 0, 1}, 1e-6f);
    ExpectNear(TriangleNormal({0, 0, 0}, {0, 2, 0}, {2, 0, 0}), {0, 0, -1}, 1e-6f);
}

TEST(Matrix, RotationsUseTheDocumentedElementPositions) {
    // Rotating +X by 90 degrees about Z gives -Y under the row-vector transform.
    ExpectNear(MatrixTransformPoint(kVectorPosX, MatrixRotationZ(90)), {0, -1, 0}, 1e-6f);
    ExpectNear(MatrixTransformPoint(kVectorPosY, MatrixRotationX(90)), {0, 0, -1}, 1e-6f);
    ExpectNear(MatrixTransformPoint(kVectorPosZ, MatrixRotationY(90)), {-1, 0, 0}, 1e-6f);
    const TMatrix4 z30 = MatrixRotationZ(30);
    EXPECT_FLOAT_EQ(z30.e[1], -0.5f);
    EXPECT_FLOAT_EQ(z30.e[4], 0.5f);
}

TEST(Matrix, MultiplyComposesRowVectorTransforms) {
    TMatrix4 translate = MatrixIdentity();
    translate.e[12] = 5;
    // Rotate first, then translate.
    const TMatrix4 m = MatrixMultiply(MatrixRotationZ(90), translate);
    ExpectNear(MatrixTransformPoint(kVectorPosX, m), {5, -1, 0}, 1e-6f);
    // Writing the product over an input is fine.
    TMatrix4 a = MatrixRotationZ(90);
    a = MatrixMultiply(a, a);
    ExpectNear(MatrixTransformPoint(kVectorPosX, a), {-1, 0, 0}, 1e-6f);
}

TEST(Matrix, InvertHandlesTranslationAndNearSingularMatrices) {
    TMatrix4 t = MatrixIdentity();
    t.e[12] = 3;
    t.e[13] = -4;
    t.e[14] = 7;
    MatrixInvert(t);
    EXPECT_FLOAT_EQ(t.e[12], -3);
    EXPECT_FLOAT_EQ(t.e[13], 4);
    EXPECT_FLOAT_EQ(t.e[14], -7);

    TMatrix4 tiny = MatrixIdentity();
    tiny.e[0] = 0.00005f;  // determinant 0.00005
    tiny.e[7] = 9;
    MatrixInvert(tiny);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(tiny.e[i], MatrixIdentity().e[i]) << i;

    TMatrix4 r = MatrixMultiply(MatrixRotationX(20), MatrixRotationY(-35));
    r.e[13] = 2;
    TMatrix4 inverse = r;
    MatrixInvert(inverse);
    const TMatrix4 product = MatrixMultiply(r, inverse);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.e[i], MatrixIdentity().e[i], 1e-5f) << i;
}

TEST(Matrix, DeterminantAndRotationAroundPivot) {
    TMatrix4 s = MatrixIdentity();
    MatrixScale(s, 2);
    EXPECT_DOUBLE_EQ(MatrixDeterminant(s), 16.0);
    EXPECT_DOUBLE_EQ(Determinant3(1, 2, 3, 0, 1, 4, 5, 6, 0), 1.0);
    // The result stays relative to the pivot.
    ExpectNear(RotateAroundPivot({11, 0, 0}, {10, 0, 0}, {0, 0, 90}), {0, -1, 0}, 1e-6f);
}

TEST(Plane, IntersectThreePlanes) {
    TVector3 point{7, 7, 7};
    EXPECT_TRUE(IntersectPlanes({kVectorPosX, 1}, {kVectorPosY, 2}, {kVectorPosZ, 3}, point));
    ExpectNear(point, {1, 2, 3}, 1e-6f);

    TVector3 untouched{7, 7, 7};
    EXPECT_FALSE(IntersectPlanes({kVectorPosX, 1}, {kVectorPosX, 2}, {kVectorPosZ, 3}, untouched));
    EXPECT_EQ(untouched, (TVector3{7, 7, 7}));

    const float k = std::sqrt(0.5f);
    EXPECT_TRUE(IntersectPlanes({{k, k, 0}, k * 2}, {kVectorNegY, 0}, {kVectorPosZ, -1}, point));
    ExpectNear(point, {2, 0, -1}, 1e-5f);
}

// The brush corner search inverts no matrix, only the point's three cofactors; the corners
// must come out exactly as the whole inverse gives them, degenerate cases included.
TEST(Plane, IntersectionIsTheFullInverseBitForBit) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<float> unit(-1, 1), distance(-4096, 4096);
    for (int i = 0; i < 20000; ++i) {
        TPlane p[3];
        for (TPlane& plane : p) {
            plane.normal = {unit(rng), unit(rng), unit(rng)};
            if (i % 2 == 0) plane.normal = VectorNormalize(plane.normal);
            plane.distance = i % 3 == 0 ? std::round(distance(rng)) : distance(rng);
        }
        // Nearly parallel planes put the determinant around the threshold.
        if (i % 5 == 0) p[2].normal = p[1].normal * (1.0f - 1e-4f * unit(rng));
        TMatrix4 m = MatrixSet(p[0].normal.x, p[0].normal.y, p[0].normal.z, -p[0].distance,  //
                               p[1].normal.x, p[1].normal.y, p[1].normal.z, -p[1].distance,  //
                               p[2].normal.x, p[2].normal.y, p[2].normal.z, -p[2].distance,  //
                               0, 0, 0, 1);
        const bool meets = std::fabs(MatrixDeterminant(m)) >= 0.0001;
        TVector3 point{7, 7, 7};
        ASSERT_EQ(IntersectPlanes(p[0], p[1], p[2], point), meets) << i;
        if (!meets) continue;
        MatrixInvert(m);
        const TVector3 expected{m.e[3], m.e[7], m.e[11]};
        ASSERT_EQ(std::memcmp(&point, &expected, sizeof point), 0) << i;
    }
}

TEST(Plane, PointBehindTriangleFollowsTheDeterminantSign) {
    const TVector3 a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0};
    EXPECT_NE(PointBehindTriangle(a, b, c, {0, 0, 1}), PointBehindTriangle(a, b, c, {0, 0, -1}));
    // In the plane of the triangle the determinant is 0, which is not "behind".
    EXPECT_FALSE(PointBehindTriangle(a, b, c, {0.1f, 0.1f, 0}));
}

TEST(Scalar, ColoursAnglesAndFieldOfView) {
    const TRGBFloats red = ColorToRGBFloats(0xFF);
    EXPECT_EQ(red.r, 1.0f);
    EXPECT_EQ(red.g, 0.0f);
    EXPECT_EQ(red.b, 0.0f);
    const TRGBFloats blue = ColorToRGBFloats(0xFF0000);
    EXPECT_EQ(blue.r, 0.0f);
    EXPECT_EQ(blue.b, 1.0f);
    EXPECT_NEAR(ColorToRGBFloats(0x008000).g, 128.0f / 255.0f, 1e-7f);

    const TSinCos sc = SinCosDeg(30);
    EXPECT_FLOAT_EQ(sc.sin, 0.5f);
    EXPECT_FLOAT_EQ(sc.cos, std::sqrt(3.0f) / 2);
    // An extent equal to its distance subtends 2 * atan(1/2).
    EXPECT_NEAR(FieldOfViewDeg(1, 1), 53.130102f, 1e-4f);
}

}  // namespace
