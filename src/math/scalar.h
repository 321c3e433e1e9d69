// Angle and colour helpers shared by the view and the model code.
#pragma once

#include <cstdint>

inline constexpr long double kDegToRad = 0.017453292519943295L;
inline constexpr float kRadToDeg = 57.29578f;

struct TSinCos {
    float sin;
    float cos;
};

// Both computed in extended precision, then rounded to single.
TSinCos SinCosDeg(double degrees);

// Full-circle arc tangent in radians.
float ArcTan2(float y, float x);

// The angle in degrees that an extent `a` subtends at distance `b`.
float FieldOfViewDeg(float a, float b);

struct TRGBFloats {
    float r;
    float g;
    float b;
};

// A packed colour 0x00BBGGRR as three channels in 0..1.
TRGBFloats ColorToRGBFloats(std::uint32_t colour);
