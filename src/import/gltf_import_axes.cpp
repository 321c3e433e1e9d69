#include "import/gltf_import_axes.h"

#include <cmath>

namespace {

TGltfPoint Column(const TGltfMatrix& m, int c) {
    return {m.at(0, c), m.at(1, c), m.at(2, c)};
}

double Dot(const TGltfPoint& a, const TGltfPoint& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

TGltfPoint Unit(TGltfPoint v, const TGltfPoint& fallback) {
    const double length = std::sqrt(Dot(v, v));
    if (!(length > 1e-12)) return fallback;
    for (double& c : v)
        c /= length;
    return v;
}

TGltfPoint Cross(const TGltfPoint& a, const TGltfPoint& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

TMD3Tag GameTagFromGltf(const TGltfMatrix& world, float scale) {
    // Gram-Schmidt on the node's x and y axes: a scaled or sheared node still gives a rotation.
    const TGltfPoint x = Unit(Column(world, 0), {1, 0, 0});
    TGltfPoint y = Column(world, 1);
    const double along = Dot(y, x);
    for (std::size_t k = 0; k < 3; ++k)
        y[k] -= along * x[k];
    y = Unit(y, std::abs(x[0]) < 0.9 ? Unit(Cross({1, 0, 0}, x), {0, 1, 0})
                                     : Unit(Cross({0, 0, 1}, x), {0, 1, 0}));
    const TGltfPoint z = Cross(x, y);
    TMD3Tag tag;
    tag.origin = GameFromGltf({world.at(0, 3), world.at(1, 3), world.at(2, 3)}) * scale;
    // The game's x, y and z are glTF's x, -z and y; each carried by the rotation.
    tag.axis[0] = GameFromGltf(x);
    tag.axis[1] = GameFromGltf({-z[0], -z[1], -z[2]});
    tag.axis[2] = GameFromGltf(y);
    return tag;
}
