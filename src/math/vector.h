// Three-component single-precision vectors as stored in every model file.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

struct TVector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
static_assert(sizeof(TVector3) == 12, "TVector3 must match the 12-byte file layout");

inline constexpr TVector3 kVectorZero{0.0f, 0.0f, 0.0f};
inline constexpr TVector3 kVectorPosX{1.0f, 0.0f, 0.0f};
inline constexpr TVector3 kVectorPosY{0.0f, 1.0f, 0.0f};
inline constexpr TVector3 kVectorPosZ{0.0f, 0.0f, 1.0f};
inline constexpr TVector3 kVectorNegX{-1.0f, 0.0f, 0.0f};
inline constexpr TVector3 kVectorNegY{0.0f, -1.0f, 0.0f};
inline constexpr TVector3 kVectorNegZ{0.0f, 0.0f, -1.0f};

inline TVector3 VectorAdd(TVector3 a, TVector3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline TVector3 VectorSubtract(TVector3 a, TVector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline TVector3 VectorScale(TVector3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}

// Flips only the sign bit, so -0 and NaN payloads survive unchanged.
inline float FlipSign(float f) {
    return std::bit_cast<float>(std::bit_cast<std::uint32_t>(f) ^ 0x80000000u);
}
inline TVector3 VectorNegate(TVector3 a) {
    return {FlipSign(a.x), FlipSign(a.y), FlipSign(a.z)};
}

inline float VectorDot(TVector3 a, TVector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float VectorNegativeDot(TVector3 a, TVector3 b) {
    return -VectorDot(a, b);
}
inline float VectorLength(TVector3 a) {
    return std::sqrt(VectorDot(a, a));
}

inline TVector3 VectorCross(TVector3 a, TVector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Strictly-less on every axis: a difference equal to eps is not "equal".
inline bool VectorEqualEps(TVector3 a, TVector3 b, float eps) {
    return std::fabs(a.x - b.x) < eps && std::fabs(a.y - b.y) < eps && std::fabs(a.z - b.z) < eps;
}

// A zero vector comes back unchanged; callers compare normals with tolerances, so a
// full-precision reciprocal square root is more than enough here.
TVector3 VectorNormalize(TVector3 a);

// Mean of the points; the zero vector for an empty list.
TVector3 VectorAverage(const TVector3* points, std::size_t count);

// Unit normal of the triangle a, b, c: normalize((c - b) x (a - b)).
TVector3 TriangleNormal(TVector3 a, TVector3 b, TVector3 c);

inline TVector3 operator+(TVector3 a, TVector3 b) {
    return VectorAdd(a, b);
}
inline TVector3 operator-(TVector3 a, TVector3 b) {
    return VectorSubtract(a, b);
}
inline TVector3 operator-(TVector3 a) {
    return VectorNegate(a);
}
inline TVector3 operator*(TVector3 a, float s) {
    return VectorScale(a, s);
}
inline bool operator==(TVector3 a, TVector3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
