#include "math/normal.h"

#include <cmath>
#include <numbers>

#include "math/scalar.h"

TVector3 DecodeNormal(std::uint16_t word) {
    if (word == kNormalPosZ) return kVectorPosZ;
    if (word == kNormalNegZ) return kVectorNegZ;
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    // The divisor is 255, not 256: that is how the game's tools pack the angles.
    const float lat = static_cast<float>((word >> 8) / 255.0 * kTwoPi);
    const float lng = static_cast<float>((word & 0xFF) / 255.0 * kTwoPi);
    return {std::cos(lat) * std::sin(lng), std::sin(lat) * std::sin(lng), std::cos(lng)};
}

namespace {

// Rounds an angle in 1/255 turns to the nearest step (ties to even) and keeps 8 bits, so
// a negative azimuth wraps into the upper half of the byte.
std::uint16_t QuantiseAngle(double radians) {
    const float steps = static_cast<float>(radians * kRadToDeg / 360.0 * 255.0);
    if (!std::isfinite(steps)) return 0;
    return static_cast<std::uint16_t>(static_cast<long>(std::nearbyint(steps)) & 0xFF);
}

}  // namespace

std::uint16_t EncodeNormal(TVector3 v) {
    const TVector3 n = VectorNormalize(v);
    if (VectorEqualEps(n, kVectorPosZ, 0.01f)) return kNormalPosZ;
    if (VectorEqualEps(n, kVectorNegZ, 0.01f)) return kNormalNegZ;
    const std::uint16_t a = QuantiseAngle(std::atan2(n.y, n.x));
    const std::uint16_t b = QuantiseAngle(std::acos(std::fmax(-1.0f, std::fmin(1.0f, n.z))));
    return static_cast<std::uint16_t>((a << 8) | b);
}
