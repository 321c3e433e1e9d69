#include "math/normal.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

// The renderer's sine table: 1024 entries over a turn, filled with a divisor of 1023, and a
// byte angle indexes every fourth entry. Cosines come from the entry a quarter table ahead,
// wrapped, so the decoded grid is very slightly skewed; porting the table keeps it so.
constexpr int kTableSize = 1024;
constexpr int kTableMask = kTableSize - 1;

struct TNormalTables {
    std::array<float, kTableSize> sine{};
    // Per byte angle: the cosine and sine the decode takes for it, and for the azimuth the
    // squared length of that pair (the skew makes it differ from 1 by a hair).
    std::array<std::array<double, 3>, 256> azimuth{};
    std::array<std::array<double, 2>, 256> inclination{};
};

TVector3 DecodeWith(const std::array<float, kTableSize>& sine, std::uint16_t word) {
    const unsigned lat = ((word >> 8) & 0xFFu) * (kTableSize / 256);
    const unsigned lng = (word & 0xFFu) * (kTableSize / 256);
    return {sine[(lat + kTableSize / 4) & kTableMask] * sine[lng], sine[lat] * sine[lng],
            sine[(lng + kTableSize / 4) & kTableMask]};
}

TNormalTables BuildTables() {
    TNormalTables t;
    for (int i = 0; i < kTableSize; ++i) {
        const float degrees = static_cast<float>(i) * 360.0f / static_cast<float>(kTableSize - 1);
        t.sine[i] = static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0f));
    }
    for (int k = 0; k < 256; ++k) {
        const double c = t.sine[(4 * k + kTableSize / 4) & kTableMask], s = t.sine[4 * k];
        t.azimuth[k] = {c, s, c * c + s * s};
        t.inclination[k] = {s, c};
    }
    return t;
}

const TNormalTables& Tables() {
    static const TNormalTables tables = BuildTables();
    return tables;
}

// A byte angle b points along 4b/1023 of a turn.
constexpr double kStepsPerTurn = (kTableSize - 1) / 4.0;

// The angle of (x, y) in turns, from 0 up to 1, within 2e-6 of a turn. The search below looks
// at the grid points on both sides of this angle, so an error far below one step (1/256 turn)
// cannot change which word is nearest; the library's arc functions cost more than the rest of
// an encoding, which runs for every vertex of every baked frame.
double TurnsOf(double x, double y) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const double most = std::fmax(ax, ay);
    if (most == 0.0) return 0.0;
    const double t = std::fmin(ax, ay) / most, t2 = t * t;
    double angle = ((-0.0464964749 * t2 + 0.15931422) * t2 - 0.327622764) * t2 * t + t;
    if (ay > ax) angle = std::numbers::pi / 2 - angle;
    if (x < 0.0) angle = std::numbers::pi - angle;
    if (y < 0.0) angle = 2.0 * std::numbers::pi - angle;
    return angle / (2.0 * std::numbers::pi);
}

}  // namespace

TVector3 DecodeNormal(std::uint16_t word) {
    return DecodeWith(Tables().sine, word);
}

std::uint16_t EncodeNormal(TVector3 v) {
    const double x = v.x, y = v.y, z = v.z;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0) || !std::isfinite(length)) return kNormalPosZ;
    // On the axis the azimuth means nothing; the game's tools write these two words.
    if (std::fabs(x) <= length * 1e-7 && std::fabs(y) <= length * 1e-7)
        return z > 0.0 ? kNormalPosZ : kNormalNegZ;

    // Every direction has two spellings: (azimuth, inclination) and (azimuth + half a turn,
    // one turn - inclination), whose sine is negative. With the skewed table they land on
    // different points, a third of a degree apart at least, so both neighbourhoods are
    // searched. The first spelling, the one the game's tools write, is kept unless the other
    // is clearly nearer: a cosine closer by a millionth (a few hundredths of a degree).
    const double nx = x / length, ny = y / length, nz = z / length;
    const double azimuth = TurnsOf(nx, ny);
    const double inclination = TurnsOf(nz, std::sqrt(nx * nx + ny * ny));
    const TNormalTables& tables = Tables();

    // Candidates are compared by their squared cosine with the sign kept, dot * |dot| / length²,
    // which orders them as the angle does; fractions are compared crosswise, without a square
    // root or a division per word.
    struct TCandidate {
        std::uint16_t word = kNormalPosZ;
        double signedSquare = -1.0, lengthSquared = 1.0;
        bool Beats(const TCandidate& other, double margin) const {
            return signedSquare * other.lengthSquared >
                   (other.signedSquare + margin) * lengthSquared;
        }
    };
    auto nearest = [&](double turnsAround, double turnsFromUp) {
        TCandidate best;
        // Both angles are positive: truncation is the floor.
        const auto a0 = static_cast<long>(turnsAround * kStepsPerTurn);
        const auto b0 = static_cast<long>(turnsFromUp * kStepsPerTurn);
        for (long b = b0; b <= b0 + 1; ++b) {
            if (b < 0 || b > 255) continue;
            const auto& [sinB, cosB] = tables.inclination[b];
            for (long a = a0; a <= a0 + 1; ++a) {
                const auto& [cosA, sinA, lengthA] = tables.azimuth[a & 0xFF];
                const double dot = sinB * (cosA * nx + sinA * ny) + cosB * nz;
                const TCandidate c{static_cast<std::uint16_t>(((a & 0xFF) << 8) | b),
                                   dot * std::fabs(dot), sinB * sinB * lengthA + cosB * cosB};
                if (c.Beats(best, 0.0)) best = c;
            }
        }
        return best;
    };
    const TCandidate first = nearest(azimuth, inclination);
    const TCandidate second =
        nearest(azimuth < 0.5 ? azimuth + 0.5 : azimuth - 0.5, 1.0 - inclination);
    return second.Beats(first, 2e-6) ? second.word : first.word;
}

std::uint16_t MirrorNormal(std::uint16_t word, int axis) {
    unsigned azimuth = word >> 8, inclination = word & 0xFFu;
    if (axis == 0) azimuth = 128u - azimuth;
    if (axis == 1) azimuth = 0u - azimuth;
    if (axis == 2) inclination = 128u - inclination;
    // Straight up has every azimuth; keep the word the tools write for it.
    if ((inclination & 0xFFu) == 0) return kNormalPosZ;
    return static_cast<std::uint16_t>(((azimuth & 0xFFu) << 8) | (inclination & 0xFFu));
}

std::uint16_t NegateNormal(std::uint16_t word) {
    return MirrorNormal(MirrorNormal(MirrorNormal(word, 0), 1), 2);
}
