#include "math/normal.h"

#include <cmath>
#include <numbers>

#include "math/normal_grid.h"

using namespace normal_grid;

TVector3 DecodeNormal(std::uint16_t word) {
    const std::array<float, kTableSize>& sine = Tables().sine;
    const unsigned lat = ((word >> 8) & 0xFFu) * (kTableSize / 256);
    const unsigned lng = (word & 0xFFu) * (kTableSize / 256);
    return {sine[(lat + kTableSize / 4) & kTableMask] * sine[lng], sine[lat] * sine[lng],
            sine[(lng + kTableSize / 4) & kTableMask]};
}

// EncodeNormal gives the word of EncodeNormalBySearch, operation for operation, but without a
// branch that depends on the direction: neighbouring vertices point anywhere, so each such
// branch is a coin toss for the processor, and the search's dozen wrong guesses per normal
// cost more than its arithmetic. Choices are made by arithmetic that gives the same bits, or
// by picking an index.
namespace {

// flip ? over - angle : angle. Both products are exact (by 0 or 1, and by 1 or -1), and adding
// zero leaves a positive angle as it is, so the result has the bits of the branch's.
double FlippedIf(bool flip, double over, double angle) {
    const auto s = static_cast<double>(flip);
    return s * over + (1.0 - 2.0 * s) * angle;
}

// TurnsOf without its branches. For finite arguments these are what fmin and fmax give, in the
// form of the processor's own minimum and maximum.
[[gnu::always_inline]] inline double TurnsOfWithoutBranches(double x, double y) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const double most = ax > ay ? ax : ay;
    if (most == 0.0) return 0.0;  // never for a direction off the Z axis
    const double t = (ax < ay ? ax : ay) / most, t2 = t * t;
    double angle = ((-0.0464964749 * t2 + 0.15931422) * t2 - 0.327622764) * t2 * t + t;
    angle = FlippedIf(ay > ax, std::numbers::pi / 2, angle);
    angle = FlippedIf(x < 0.0, std::numbers::pi, angle);
    angle = FlippedIf(y < 0.0, 2.0 * std::numbers::pi, angle);
    return angle / (2.0 * std::numbers::pi);
}

// NearestInBlock over the whole block. A second row past 255 is replaced by a copy of the
// first, whose candidates tie with those they copy and so never win, as the left-out row would
// not. The first candidate always beats the search's starting point: every candidate lies
// within a few steps of the direction.
[[gnu::always_inline]] inline TCandidate NearestOfBlock(const TDirection& d, TBlock block,
                                                        const TNormalTables& tables) {
    const auto& [cosA0, sinA0, lengthA0] = tables.azimuth[block.a0 & 0xFF];
    const auto& [cosA1, sinA1, lengthA1] = tables.azimuth[(block.a0 + 1) & 0xFF];
    const double around[2] = {cosA0 * d.x + sinA0 * d.y, cosA1 * d.x + sinA1 * d.y};
    const double lengthA[2] = {lengthA0, lengthA1};
    const long rows[2] = {block.b0, HasCandidate(block, 2) ? block.b0 + 1 : block.b0};
    double signedSquare[4], lengthSquared[4];
    for (int k = 0; k < 4; ++k) {
        const auto& [sinB, cosB] = tables.inclination[rows[k >> 1]];
        const double dot = sinB * around[k & 1] + cosB * d.z;
        signedSquare[k] = dot * std::fabs(dot);
        lengthSquared[k] = sinB * sinB * lengthA[k & 1] + cosB * cosB;
    }
    int best = 0;
    for (int k = 1; k < 4; ++k) {
        const bool beats =
            signedSquare[k] * lengthSquared[best] > (signedSquare[best] + 0.0) * lengthSquared[k];
        best = beats ? k : best;
    }
    const int row = best >> 1, lane = best & 1;
    return {static_cast<std::uint16_t>((((block.a0 + lane) & 0xFF) << 8) | rows[row]),
            signedSquare[best], lengthSquared[best]};
}

}  // namespace

std::uint16_t EncodeNormal(TVector3 v) {
    TDirectionOrWord found = UnitDirectionOf(v);
    if (found.isWord) return found.word;
    TDirection& d = found.direction;
    d.turnsAround = TurnsOfWithoutBranches(d.x, d.y);
    d.turnsFromUp = TurnsOfWithoutBranches(d.z, std::sqrt(d.x * d.x + d.y * d.y));
    const TNormalTables& tables = Tables();
    // SecondBlock's half turn on or back, as a look-up: adding -0.5 is subtracting 0.5.
    constexpr double kHalfTurn[2] = {-0.5, 0.5};
    const TBlock secondBlock{
        static_cast<long>((d.turnsAround + kHalfTurn[d.turnsAround < 0.5]) * kStepsPerTurn),
        static_cast<long>((1.0 - d.turnsFromUp) * kStepsPerTurn)};
    const TCandidate first = NearestOfBlock(d, FirstBlock(d), tables);
    const TCandidate second = NearestOfBlock(d, secondBlock, tables);
    const std::uint16_t words[2] = {first.word, second.word};
    return words[second.Beats(first, kSecondSpellingMargin)];
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
