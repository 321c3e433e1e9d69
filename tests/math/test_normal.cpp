#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/normal.h"

namespace {

TEST(PackedNormal, ReservedWordsForTheZAxis) {
    EXPECT_EQ(EncodeNormal({0, 0, 1}), 0);
    EXPECT_EQ(EncodeNormal({0, 0, -5}), 0x8000);
    EXPECT_EQ(EncodeNormal({0.001f, 0, 1}), 0);  // within the 0.01 tolerance
    EXPECT_EQ(DecodeNormal(0x8000), (TVector3{0, 0, -1}));
    EXPECT_EQ(DecodeNormal(0), (TVector3{0, 0, 1}));
    EXPECT_EQ(EncodeNormal(DecodeNormal(0x8000)), 0x8000);
    EXPECT_EQ(EncodeNormal(DecodeNormal(0)), 0);
}

TEST(PackedNormal, NegativeAzimuthWrapsAndRoundsToEven) {
    // Azimuth -90 degrees is -63.75 steps, rounded to -64 and masked to 192; the
    // inclination of 90 degrees is 63.75 steps, rounded to 64.
    EXPECT_EQ(EncodeNormal({0, -1, 0}), 0xC040);
    EXPECT_EQ(EncodeNormal(0, -1, 0), 0xC040);
    // +X: azimuth 0, inclination 63.75 -> 64.
    EXPECT_EQ(EncodeNormal({1, 0, 0}), 0x0040);
    // Unnormalised input is normalised first.
    EXPECT_EQ(EncodeNormal({0, -7, 0}), 0xC040);
}

TEST(PackedNormal, DecodeUsesTheDivisor255) {
    // Low byte 64: inclination 64/255 of a turn, a little past 90 degrees.
    const TVector3 n = DecodeNormal(0x0040);
    const float lng = 64.0f / 255.0f * 2.0f * 3.14159265f;
    EXPECT_NEAR(n.x, std::sin(lng), 1e-6f);
    EXPECT_NEAR(n.y, 0.0f, 1e-6f);
    EXPECT_NEAR(n.z, std::cos(lng), 1e-6f);
}

TEST(PackedNormal, RoundTripWithinTheQuantisation) {
    // Half a step per angle, but a negative azimuth wraps modulo 256 while the decoder
    // divides by 255, which costs up to one more step of azimuth.
    const float step = 2.0f * 3.14159265f / 255.0f * 1.6f;
    for (int i = 0; i < 500; ++i) {
        const float a = 0.37f * i, b = 0.11f * i + 0.05f;
        const TVector3 v{std::cos(a) * std::sin(b), std::sin(a) * std::sin(b), std::cos(b)};
        const TVector3 back = DecodeNormal(EncodeNormal(v));
        const float angle = std::acos(std::fmin(1.0f, VectorDot(v, back)));
        EXPECT_LE(angle, step) << "sample " << i;
    }
}

TEST(PackedNormal, DegenerateInputGivesDefinedWords) {
    // A zero vector stays zero: azimuth 0, inclination 90 degrees.
    EXPECT_EQ(EncodeNormal({0, 0, 0}), 0x0040);
    // NaN angles quantise to step 0 instead of an undefined conversion.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(EncodeNormal({nan, 0, 0}), 0);
}

}  // namespace

namespace {

// The encoding by the library's arc functions alone, which the table-driven one must match
// word for word.
std::uint16_t ReferenceEncode(TVector3 v) {
    auto quantise = [](double radians) {
        const float steps = static_cast<float>(radians * 57.29578f / 360.0 * 255.0);
        if (!std::isfinite(steps)) return 0;
        return static_cast<int>(static_cast<long>(std::nearbyint(steps)) & 0xFF);
    };
    const TVector3 n = VectorNormalize(v);
    if (VectorEqualEps(n, {0, 0, 1}, 0.01f)) return 0;
    if (VectorEqualEps(n, {0, 0, -1}, 0.01f)) return 0x8000;
    const int a = quantise(std::atan2(n.y, n.x));
    const int b = quantise(std::acos(std::fmax(-1.0f, std::fmin(1.0f, n.z))));
    return static_cast<std::uint16_t>((a << 8) | b);
}

TEST(PackedNormal, MatchesTheArcFunctionsEverywhere) {
    // Spread over the sphere (some nearly flat in z), then the directions at and around
    // every rounding boundary of both angles, where a table cell could round the other way.
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f * 2.0f - 1.0f;
    };
    for (int i = 0; i < 300000; ++i) {
        const TVector3 v{next(), next(), next() * (i % 3 == 0 ? 0.001f : 1.0f)};
        ASSERT_EQ(EncodeNormal(v), ReferenceEncode(v)) << v.x << " " << v.y << " " << v.z;
    }
    const double step = 2.0 * 3.14159265358979 / 255.0;
    for (int k = -128; k <= 128; ++k) {
        for (double nudge : {-1e-6, -1e-8, 0.0, 1e-8, 1e-6}) {
            const double angle = (k + 0.5) * step + nudge;
            for (double other : {0.3, 1.2, 2.9}) {
                const TVector3 a{static_cast<float>(std::cos(angle) * std::sin(other)),
                                 static_cast<float>(std::sin(angle) * std::sin(other)),
                                 static_cast<float>(std::cos(other))};
                const TVector3 b{static_cast<float>(std::cos(other) * std::sin(angle)),
                                 static_cast<float>(std::sin(other) * std::sin(angle)),
                                 static_cast<float>(std::cos(angle))};
                EXPECT_EQ(EncodeNormal(a), ReferenceEncode(a)) << "azimuth step " << k;
                EXPECT_EQ(EncodeNormal(b), ReferenceEncode(b)) << "inclination step " << k;
            }
        }
    }
    const float tiny = std::numeric_limits<float>::denorm_min();
    for (TVector3 v : {TVector3{-1, 0, 0}, TVector3{-1, -0.0f, 0}, TVector3{0, -1, 0},
                       TVector3{-0.0f, 1, 0}, TVector3{1, 1, 0}, TVector3{1, tiny, 0},
                       TVector3{-tiny, -1, 0.5f}, TVector3{1e-30f, 1, 0}}) {
        EXPECT_EQ(EncodeNormal(v), ReferenceEncode(v)) << v.x << " " << v.y << " " << v.z;
    }
}

}  // namespace
