#include "math/plane.h"

#include <cmath>

#include "math/matrix.h"

bool IntersectPlanes(const TPlane& p1, const TPlane& p2, const TPlane& p3, TVector3& point) {
    TMatrix4 m = MatrixSet(p1.normal.x, p1.normal.y, p1.normal.z, -p1.distance,  //
                           p2.normal.x, p2.normal.y, p2.normal.z, -p2.distance,  //
                           p3.normal.x, p3.normal.y, p3.normal.z, -p3.distance,  //
                           0, 0, 0, 1);
    if (std::fabs(MatrixDeterminant(m)) < 0.0001) return false;
    MatrixInvert(m);
    point = {m.e[3], m.e[7], m.e[11]};
    return true;
}

bool PointBehindTriangle(TVector3 a, TVector3 b, TVector3 c, TVector3 d) {
    const TVector3 corners[3] = {a, b, c};
    const TVector3 e = VectorAdd(VectorAverage(corners, 3), d);
    const TMatrix4 m =
        MatrixSet(a.x, a.y, a.z, 1, b.x, b.y, b.z, 1, c.x, c.y, c.z, 1, e.x, e.y, e.z, 1);
    return MatrixDeterminant(m) < 0.0;
}
