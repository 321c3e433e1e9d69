#include "math/scalar.h"

#include <cmath>

TSinCos SinCosDeg(double degrees) {
    const long double radians = static_cast<long double>(degrees) * kDegToRad;
    return {static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))};
}

float ArcTan2(float y, float x) {
    return std::atan2(y, x);
}

float FieldOfViewDeg(float a, float b) {
    const float angle = static_cast<float>(2.0 * std::atan2(a / 2.0, static_cast<double>(b)));
    return angle * kRadToDeg;
}

TRGBFloats ColorToRGBFloats(std::uint32_t colour) {
    return {static_cast<float>(colour & 0xFFu) / 255.0f,
            static_cast<float>((colour >> 8) & 0xFFu) / 255.0f,
            static_cast<float>((colour >> 16) & 0xFFu) / 255.0f};
}
