// Planes (normal . p = distance) and the geometric tests built on them.
#pragma once

#include "math/vector.h"

struct TPlane {
    TVector3 normal;
    float distance = 0.0f;
};
static_assert(sizeof(TPlane) == 16);

// The single point common to three planes. False, with `point` untouched, when the planes
// do not meet in one point (|det| < 0.0001).
bool IntersectPlanes(const TPlane& p1, const TPlane& p2, const TPlane& p3, TVector3& point);

// True when the determinant of rows (a,1), (b,1), (c,1), (centroid + d, 1) is negative:
// the centroid moved by d lies behind the triangle a, b, c.
bool PointBehindTriangle(TVector3 a, TVector3 b, TVector3 c, TVector3 d);
