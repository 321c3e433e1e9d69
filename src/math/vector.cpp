#include "math/vector.h"

TVector3 VectorNormalize(TVector3 a) {
    const float q = a.x * a.x + a.y * a.y + a.z * a.z;
    if (q == 0.0f) return a;
    const float r = 1.0f / std::sqrt(q);
    return {a.x * r, a.y * r, a.z * r};
}

TVector3 VectorAverage(const TVector3* points, std::size_t count) {
    TVector3 sum = kVectorZero;
    if (count == 0) return sum;
    for (std::size_t i = 0; i < count; ++i)
        sum = VectorAdd(sum, points[i]);
    return VectorScale(sum, 1.0f / static_cast<float>(count));
}

TVector3 TriangleNormal(TVector3 a, TVector3 b, TVector3 c) {
    return VectorNormalize(VectorCross(VectorSubtract(c, b), VectorSubtract(a, b)));
}
