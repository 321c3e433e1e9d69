#include "math/plane.h"

#include <cmath>

#include "math/matrix.h"

bool IntersectPlanes(const TPlane& p1, const TPlane& p2, const TPlane& p3, TVector3& point) {
    const TMatrix4 m = MatrixSet(p1.normal.x, p1.normal.y, p1.normal.z, -p1.distance,  //
                                 p2.normal.x, p2.normal.y, p2.normal.z, -p2.distance,  //
                                 p3.normal.x, p3.normal.y, p3.normal.z, -p3.distance,  //
                                 0, 0, 0, 1);
    const double det = MatrixDeterminant(m);
    if (std::fabs(det) < 0.0001) return false;
    // The point is the last column of the inverse. Of the sixteen cofactors inverting the
    // whole matrix takes, only its three are computed, each rounded and scaled exactly as
    // MatrixInvert does, so the corners come out the same at a fraction of the cost (a brush
    // tries every three of its faces).
    const float floatDet = static_cast<float>(det);
    if (std::fabs(floatDet) < 0.0001f) {
        point = {0, 0, 0};  // what MatrixInvert's identity would give
        return true;
    }
    const float scale = 1.0f / floatDet;
    // The cofactor of row 3 and column `col`, without its sign.
    const auto minor = [&m](int col) {
        double v[9];
        int n = 0;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) {
                if (c != col) v[n++] = m.at(r, c);
            }
        }
        return Determinant3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    };
    point = {static_cast<float>(-minor(0)) * scale, static_cast<float>(minor(1)) * scale,
             static_cast<float>(-minor(2)) * scale};
    return true;
}

bool PointBehindTriangle(TVector3 a, TVector3 b, TVector3 c, TVector3 d) {
    const TVector3 corners[3] = {a, b, c};
    const TVector3 e = VectorAdd(VectorAverage(corners, 3), d);
    const TMatrix4 m =
        MatrixSet(a.x, a.y, a.z, 1, b.x, b.y, b.z, 1, c.x, c.y, c.z, 1, e.x, e.y, e.z, 1);
    return MatrixDeterminant(m) < 0.0;
}
