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
    // The point is the last column of the inverse. Only its three cofactors are computed, with
    // the arithmetic MatrixInvert uses for them, so the point is the same to the last bit at a
    // fraction of the cost: the map importer asks for every three faces of a brush.
    const float detF = static_cast<float>(det);
    if (std::fabs(detF) < 0.0001f) {
        point = kVectorZero;  // what the inverse's identity fallback holds there
        return true;
    }
    // Cofactor (3, c): the 3x3 minor of rows 0 to 2 without column c, signed (-1)^(3 + c).
    const auto cofactor = [&m](int col) {
        double v[9];
        int n = 0;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                if (c != col) v[n++] = m.at(r, c);
        const double minor = Determinant3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        return static_cast<float>((3 + col) % 2 == 0 ? minor : -minor);
    };
    const float scale = 1.0f / detF;
    point = {cofactor(0) * scale, cofactor(1) * scale, cofactor(2) * scale};
    return true;
}

bool PointBehindTriangle(TVector3 a, TVector3 b, TVector3 c, TVector3 d) {
    const TVector3 corners[3] = {a, b, c};
    const TVector3 e = VectorAdd(VectorAverage(corners, 3), d);
    const TMatrix4 m =
        MatrixSet(a.x, a.y, a.z, 1, b.x, b.y, b.z, 1, c.x, c.y, c.z, 1, e.x, e.y, e.z, 1);
    return MatrixDeterminant(m) < 0.0;
}
