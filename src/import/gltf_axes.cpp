#include "import/gltf_axes.h"

#include <cmath>

namespace {

// Rows of a proper rotation; false when the axes span no plane.
bool Straightened(const TVector3 (&axis)[3], double (&m)[3][3]) {
    const TVector3 x = axis[0];
    const double xl = std::sqrt(double{x.x} * x.x + double{x.y} * x.y + double{x.z} * x.z);
    if (!(xl > 1e-9)) return false;
    const double ux[3] = {x.x / xl, x.y / xl, x.z / xl};
    const double y0[3] = {axis[1].x, axis[1].y, axis[1].z};
    const double d = ux[0] * y0[0] + ux[1] * y0[1] + ux[2] * y0[2];
    double uy[3] = {y0[0] - d * ux[0], y0[1] - d * ux[1], y0[2] - d * ux[2]};
    const double yl = std::sqrt(uy[0] * uy[0] + uy[1] * uy[1] + uy[2] * uy[2]);
    if (!(yl > 1e-9)) return false;
    for (double& c : uy)
        c /= yl;
    const double uz[3] = {ux[1] * uy[2] - ux[2] * uy[1], ux[2] * uy[0] - ux[0] * uy[2],
                          ux[0] * uy[1] - ux[1] * uy[0]};
    for (int i = 0; i < 3; ++i) {
        m[0][i] = ux[i];
        m[1][i] = uy[i];
        m[2][i] = uz[i];
    }
    return true;
}

}  // namespace

TGltfQuaternion GltfRotationFromGame(const TVector3 (&axis)[3]) {
    // The rows are images of the axes; turned into glTF's axes they are the columns of the
    // usual column-vector rotation matrix.
    TVector3 turned[3];
    const TVector3 rowsInGltf[3] = {GltfFromGame(axis[0]), GltfFromGame(axis[1]),
                                    GltfFromGame(axis[2])};
    // The glTF x axis is the game's x, glTF y the game's z, glTF z the game's -y.
    turned[0] = rowsInGltf[0];
    turned[1] = rowsInGltf[2];
    turned[2] = VectorNegate(rowsInGltf[1]);
    double m[3][3];
    if (!Straightened(turned, m)) return {0.0, 0.0, 0.0, 1.0};
    // r[i][j]: column-vector matrix = transpose of the rows.
    const auto r = [&m](int i, int j) { return m[j][i]; };
    const double trace = r(0, 0) + r(1, 1) + r(2, 2);
    TGltfQuaternion q;
    if (trace > 0.0) {
        const double s = std::sqrt(trace + 1.0) * 2.0;
        q = {(r(2, 1) - r(1, 2)) / s, (r(0, 2) - r(2, 0)) / s, (r(1, 0) - r(0, 1)) / s, 0.25 * s};
    } else if (r(0, 0) > r(1, 1) && r(0, 0) > r(2, 2)) {
        const double s = std::sqrt(1.0 + r(0, 0) - r(1, 1) - r(2, 2)) * 2.0;
        q = {0.25 * s, (r(0, 1) + r(1, 0)) / s, (r(0, 2) + r(2, 0)) / s, (r(2, 1) - r(1, 2)) / s};
    } else if (r(1, 1) > r(2, 2)) {
        const double s = std::sqrt(1.0 + r(1, 1) - r(0, 0) - r(2, 2)) * 2.0;
        q = {(r(0, 1) + r(1, 0)) / s, 0.25 * s, (r(1, 2) + r(2, 1)) / s, (r(0, 2) - r(2, 0)) / s};
    } else {
        const double s = std::sqrt(1.0 + r(2, 2) - r(0, 0) - r(1, 1)) * 2.0;
        q = {(r(0, 2) + r(2, 0)) / s, (r(1, 2) + r(2, 1)) / s, 0.25 * s, (r(1, 0) - r(0, 1)) / s};
    }
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q)
        c /= length;
    return q;
}

TGameFrame FrameInParent(const TGameFrame& local, const TGameFrame& parent) {
    TGameFrame out;
    const auto turn = [&parent](TVector3 v) {
        return VectorAdd(
            VectorAdd(VectorScale(parent.axis[0], v.x), VectorScale(parent.axis[1], v.y)),
            VectorScale(parent.axis[2], v.z));
    };
    for (int k = 0; k < 3; ++k)
        out.axis[k] = turn(local.axis[k]);
    out.origin = VectorAdd(turn(local.origin), parent.origin);
    return out;
}

TGameFrame InverseFrame(const TGameFrame& frame) {
    // The inverse of a rotation is its transpose.
    TGameFrame out;
    const TVector3* a = frame.axis;
    out.axis[0] = {a[0].x, a[1].x, a[2].x};
    out.axis[1] = {a[0].y, a[1].y, a[2].y};
    out.axis[2] = {a[0].z, a[1].z, a[2].z};
    const TVector3 o = frame.origin;
    out.origin = VectorNegate(
        VectorAdd(VectorAdd(VectorScale(out.axis[0], o.x), VectorScale(out.axis[1], o.y)),
                  VectorScale(out.axis[2], o.z)));
    return out;
}

std::array<float, 16> GltfMatrixFromGame(const TGameFrame& frame) {
    // In glTF's axes the images of glTF's x, y, z axes are the images of the game's x, z, -y.
    const TVector3 x = GltfFromGame(frame.axis[0]);
    const TVector3 y = GltfFromGame(frame.axis[2]);
    const TVector3 z = VectorNegate(GltfFromGame(frame.axis[1]));
    const TVector3 t = GltfFromGame(frame.origin);
    // Column-major with column vectors: each column is the image of one axis.
    return {x.x, x.y, x.z, 0.0f, y.x, y.y, y.z, 0.0f, z.x, z.y, z.z, 0.0f, t.x, t.y, t.z, 1.0f};
}
