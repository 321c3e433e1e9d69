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

// Encoding runs for every vertex of every frame of a baked model, and the library's arc
// functions dominated it. An angle only decides which step it rounds to, and the step is a
// monotonic function of the angle, so tables over a cheap monotonic stand-in for each angle
// give the step directly wherever a whole table cell rounds to one step, even with the
// arc functions' own error. Cells that hold a rounding boundary say so, and their directions
// take the library's way: the words are the same as without the tables.

// Wider than the error of the library's single-precision arc functions by far.
constexpr double kArcMargin = 1e-5;
constexpr std::int16_t kUndecided = -1;

// Azimuth cells: per quadrant (index: x < 0 times 2, plus y < 0), the share |y| / (|x| + |y|)
// of the direction, which grows with the angle inside the quadrant.
constexpr int kAzimuthCells = 4096;
// Inclination cells: z from -1 to 1.
constexpr int kInclinationCells = 16384;

struct TEncodeTables {
    std::int16_t azimuth[4][kAzimuthCells];
    std::int16_t inclination[kInclinationCells];
};

// The step both ends of an angle range round to, or kUndecided.
std::int16_t StepOfRange(double low, double high) {
    auto step = [](double radians) {
        return std::nearbyint(static_cast<float>(radians * kRadToDeg / 360.0 * 255.0));
    };
    const float a = step(low - kArcMargin);
    if (a != step(high + kArcMargin)) return kUndecided;
    return static_cast<std::int16_t>(static_cast<long>(a) & 0xFF);
}

// The angle of a direction in quadrant q whose share |y| / (|x| + |y|) is t.
double QuadrantAngle(int q, double t) {
    const double inside = std::atan2(t, 1.0 - t);
    const bool negativeX = q >= 2, negativeY = q % 2 == 1;
    const double angle = negativeX ? std::numbers::pi - inside : inside;
    return negativeY ? -angle : angle;
}

TEncodeTables BuildTables() {
    TEncodeTables tables{};
    for (int q = 0; q < 4; ++q) {
        for (int c = 0; c < kAzimuthCells; ++c) {
            const double a = QuadrantAngle(q, static_cast<double>(c) / kAzimuthCells);
            const double b = QuadrantAngle(q, static_cast<double>(c + 1) / kAzimuthCells);
            tables.azimuth[q][c] = StepOfRange(std::fmin(a, b), std::fmax(a, b));
        }
    }
    for (int c = 0; c < kInclinationCells; ++c) {
        const double zLow = -1.0 + 2.0 * c / kInclinationCells;
        const double zHigh = -1.0 + 2.0 * (c + 1) / kInclinationCells;
        tables.inclination[c] = StepOfRange(std::acos(zHigh), std::acos(zLow));
    }
    return tables;
}

const TEncodeTables& Tables() {
    static const TEncodeTables tables = BuildTables();
    return tables;
}

std::uint16_t Azimuth(float x, float y) {
    if (x != 0.0f && y != 0.0f && std::isfinite(x) && std::isfinite(y)) {
        const double ax = std::fabs(x), ay = std::fabs(y);
        const auto cell = static_cast<int>(ay / (ax + ay) * kAzimuthCells);
        if (cell < kAzimuthCells) {
            const int quadrant = (x < 0.0f ? 2 : 0) + (y < 0.0f ? 1 : 0);
            const std::int16_t step = Tables().azimuth[quadrant][cell];
            if (step != kUndecided) return static_cast<std::uint16_t>(step);
        }
    }
    return QuantiseAngle(std::atan2(y, x));
}

// z already clamped to [-1, 1].
std::uint16_t Inclination(float z) {
    const auto cell = static_cast<int>((static_cast<double>(z) + 1.0) * (kInclinationCells / 2));
    const std::int16_t step = Tables().inclination[cell < kInclinationCells ? cell : cell - 1];
    if (step != kUndecided) return static_cast<std::uint16_t>(step);
    return QuantiseAngle(std::acos(z));
}

}  // namespace

std::uint16_t EncodeNormal(TVector3 v) {
    const TVector3 n = VectorNormalize(v);
    if (VectorEqualEps(n, kVectorPosZ, 0.01f)) return kNormalPosZ;
    if (VectorEqualEps(n, kVectorNegZ, 0.01f)) return kNormalNegZ;
    const std::uint16_t a = Azimuth(n.x, n.y);
    const std::uint16_t b = Inclination(std::fmax(-1.0f, std::fmin(1.0f, n.z)));
    return static_cast<std::uint16_t>((a << 8) | b);
}
