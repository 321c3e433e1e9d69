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
