#include "math/orientation.h"

namespace {

TVector3 AlongAxes(TVector3 v, const TVector3 (&axis)[3]) {
    return axis[0] * v.x + axis[1] * v.y + axis[2] * v.z;
}

}  // namespace

TOrientation PositionOnTag(const TOrientation& parent, const TOrientation& tag) {
    TOrientation child;
    child.origin = parent.origin + AlongAxes(tag.origin, parent.axis);
    for (int i = 0; i < 3; ++i)
        child.axis[i] = AlongAxes(tag.axis[i], parent.axis);
    return child;
}

TMatrix4 OrientationMatrix(const TOrientation& o) {
    const TVector3& x = o.axis[0];
    const TVector3& y = o.axis[1];
    const TVector3& z = o.axis[2];
    const TVector3& t = o.origin;
    return MatrixSet(x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, t.x, t.y, t.z, 1);
}
