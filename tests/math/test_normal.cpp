#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "math/normal.h"
#include "math/normal_grid.h"

namespace {

double Angle(TVector3 a, TVector3 b) {
    const double dot = static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
                       static_cast<double>(a.z) * b.z;
    const double la = std::sqrt(static_cast<double>(a.x) * a.x + a.y * a.y + a.z * a.z);
    const double lb = std::sqrt(static_cast<double>(b.x) * b.x + b.y * b.y + b.z * b.z);
    return std::acos(std::fmax(-1.0, std::fmin(1.0, dot / (la * lb))));
}

TEST(PackedNormal, DecodesAsTheGameRendererDoes) {
    // The renderer: sinTable[i] = sin(i * 360/1023 degrees), a byte angle indexes every fourth
    // entry, x = cos(lat) sin(lng), y = sin(lat) sin(lng), z = cos(lng), cosines read a
    // quarter table (256 entries) ahead.
    auto table = [](unsigned i) {
        const float degrees = static_cast<float>(i & 1023u) * 360.0f / 1023.0f;
        return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0f));
    };
    for (unsigned w = 0; w < 65536; w += 97) {
        const unsigned lat = (w >> 8) * 4, lng = (w & 0xFF) * 4;
        const TVector3 expected{table(lat + 256) * table(lng), table(lat) * table(lng),
                                table(lng + 256)};
        ASSERT_EQ(DecodeNormal(static_cast<std::uint16_t>(w)), expected) << w;
    }
    // The word 0x8000 is straight up for the game; the game's files store down as 0x0080.
    EXPECT_GT(DecodeNormal(0x8000).z, 0.9999f);
    EXPECT_LT(DecodeNormal(0x0080).z, -0.9999f);
    EXPECT_GT(DecodeNormal(0x0040).x, 0.9999f);
}

TEST(PackedNormal, AxesAndDegenerateInput) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        TVector3 v;
        std::uint16_t word;
    } cases[] = {
        {{0, 0, 1}, 0x0000},
        {{0, 0, -5}, 0x0080},
        {{1, 0, 0}, 0x0040},
        {{0, -7, 0}, 0xC040},
        // The tools' spellings 0x4040 and 0x8040 decode a quarter degree off these axes;
        // the other spellings decode exactly onto them.
        {{0, 1, 0}, 0xC0C0},
        {{-1, 0, 0}, 0x00C0},
        {{0, 0, 0}, 0x0000},
        {{nan, 0, 0}, 0x0000},
        {{inf, 1, 0}, 0x0000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeNormal(c.v), c.word) << c.v.x << " " << c.v.y << " " << c.v.z;
}

// Re-encoding what was decoded must not move anything: every word comes back unchanged,
// except that all words with inclination 0 decode to the same +Z and come back as word 0.
TEST(PackedNormal, EveryWordSurvivesDecodeAndEncode) {
    for (unsigned w = 0; w < 65536; ++w) {
        const auto word = static_cast<std::uint16_t>(w);
        const std::uint16_t again = EncodeNormal(DecodeNormal(word));
        if ((w & 0xFF) == 0)
            ASSERT_EQ(again, kNormalPosZ) << w;
        else
            ASSERT_EQ(again, word) << std::hex << w;
    }
}

// Mirroring twice gives the word back, and a mirrored word decodes to the mirrored direction
// (within the table's skew). Straight up has one word, 0, whatever azimuth it was given.
TEST(PackedNormal, MirroringWordsIsExactAndUndoesItself) {
    auto up = [](std::uint16_t w) { return (w & 0xFF) == 0; };
    for (unsigned w = 0; w < 65536; ++w) {
        const auto word = static_cast<std::uint16_t>(w);
        const TVector3 d = DecodeNormal(word);
        const TVector3 expected[] = {{-d.x, d.y, d.z}, {d.x, -d.y, d.z}, {d.x, d.y, -d.z}};
        for (int axis = 0; axis < 3; ++axis) {
            const std::uint16_t m = MirrorNormal(word, axis);
            ASSERT_LT(Angle(DecodeNormal(m), expected[axis]), 0.01) << w << " axis " << axis;
            if (!up(word) && !up(m)) {
                ASSERT_EQ(MirrorNormal(m, axis), word) << w << " " << axis;
            }
            if (up(m)) {
                ASSERT_EQ(m, kNormalPosZ);
            }
        }
        ASSERT_LT(Angle(DecodeNormal(NegateNormal(word)), {-d.x, -d.y, -d.z}), 0.01) << w;
        if (!up(word) && !up(NegateNormal(word))) {
            ASSERT_EQ(NegateNormal(NegateNormal(word)), word);
        }
    }
    EXPECT_EQ(MirrorNormal(kNormalPosZ, 2), kNormalNegZ);
    EXPECT_EQ(NegateNormal(kNormalNegZ), kNormalPosZ);
}

TEST(PackedNormal, EncodesToTheNearestDecodedWord) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f * 2.0f - 1.0f;
    };
    for (int i = 0; i < 120; ++i) {
        // Some directions close to the poles, where the rings are small.
        const TVector3 v{next(), next(), next() * (i % 3 == 0 ? 40.0f : 1.0f)};
        double nearest = 10.0;
        for (unsigned w = 0; w < 65536; ++w)
            nearest = std::fmin(nearest, Angle(v, DecodeNormal(static_cast<std::uint16_t>(w))));
        // The tools' spelling may be kept when the other is nearer by a hair (1e-6 of cosine).
        EXPECT_LE(Angle(v, DecodeNormal(EncodeNormal(v))), std::sqrt(nearest * nearest + 2e-6))
            << v.x << " " << v.y << " " << v.z;
    }
}

// EncodeNormal is the full search made cheaper, and must give its word for every direction:
// every decoded word and directions a little off it, and sweeps that step through the grid in
// eighths of a step, so that they land on and beside the edges where the candidates change.
TEST(PackedNormal, EncoderGivesTheWordOfTheFullSearch) {
    std::size_t differences = 0, checked = 0;
    auto check = [&](TVector3 v) {
        ++checked;
        if (EncodeNormal(v) != normal_grid::EncodeNormalBySearch(v) && ++differences <= 5)
            ADD_FAILURE() << v.x << " " << v.y << " " << v.z;
    };
    auto direction = [](double turnsAround, double turnsFromUp) {
        const double phi = 2.0 * std::numbers::pi * turnsAround;
        const double theta = 2.0 * std::numbers::pi * turnsFromUp;
        return TVector3{static_cast<float>(std::sin(theta) * std::cos(phi)),
                        static_cast<float>(std::sin(theta) * std::sin(phi)),
                        static_cast<float>(std::cos(theta))};
    };
    const float offsets[] = {1e-3f, -7e-4f, 3e-6f, -1e-7f};
    for (unsigned w = 0; w < 65536; ++w) {
        const TVector3 d = DecodeNormal(static_cast<std::uint16_t>(w));
        check(d);
        for (float o : offsets)
            check({d.x + o, d.y - o, d.z + 0.5f * o});
    }
    // Eighths of a step: 2046 around a turn, 1023 down to -Z. One sweep takes every eighth
    // around on every seventh ring of eighths, the other the reverse.
    constexpr double kEighth = 1.0 / 2046.0;
    for (int i = 0; i < 2046; ++i) {
        for (int j = i % 7; j <= 1023; j += 7) {
            check(direction(i * kEighth, j * kEighth));
            check(direction(j * 2 * kEighth + 1e-9, i * 0.5 * kEighth));
        }
    }
    // Close to the poles, where the rings are small, and just outside the axis' tolerance.
    for (int i = 0; i < 4096; ++i) {
        const float r = 1e-7f * static_cast<float>(1 + i % 64) * (i < 2048 ? 1.0f : 1000.0f);
        check({r * std::cos(static_cast<float>(i)), r * std::sin(static_cast<float>(i)),
               i % 2 == 0 ? 1.0f : -1.0f});
    }
    EXPECT_EQ(differences, 0u) << "of " << checked;
}

}  // namespace
