#include "math/normal_grid.h"

#include <cmath>
#include <numbers>

#include "math/normal.h"

namespace normal_grid {

namespace {

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

}  // namespace

const TNormalTables& Tables() {
    static const TNormalTables tables = BuildTables();
    return tables;
}

// The search looks at the grid points on both sides of this angle, so an error far below one
// step (1/256 turn) cannot change which word is nearest; the library's arc functions cost more
// than the rest of an encoding, which runs for every vertex of every baked frame.
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

TDirectionOrWord UnitDirectionOf(TVector3 v) {
    const double x = v.x, y = v.y, z = v.z;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0) || !std::isfinite(length)) return {true, kNormalPosZ, {}};
    // On the axis the azimuth means nothing; the game's tools write these two words.
    if (std::fabs(x) <= length * 1e-7 && std::fabs(y) <= length * 1e-7)
        return {true, z > 0.0 ? kNormalPosZ : kNormalNegZ, {}};
    TDirectionOrWord out;
    TDirection& d = out.direction;
    d.x = x / length;
    d.y = y / length;
    d.z = z / length;
    return out;
}

TCandidate NearestInBlock(const TDirection& d, TBlock block, unsigned mask) {
    const TNormalTables& tables = Tables();
    TCandidate best;
    for (int k = 0; k < 4; ++k) {
        if ((mask >> k & 1u) == 0 || !HasCandidate(block, k)) continue;
        const long a = (block.a0 + (k & 1)) & 0xFF, b = block.b0 + (k >> 1);
        const auto& [sinB, cosB] = tables.inclination[b];
        const auto& [cosA, sinA, lengthA] = tables.azimuth[a];
        const double dot = sinB * (cosA * d.x + sinA * d.y) + cosB * d.z;
        const TCandidate c{CandidateWord(block, k), dot * std::fabs(dot),
                           sinB * sinB * lengthA + cosB * cosB};
        if (c.Beats(best, 0.0)) best = c;
    }
    return best;
}

std::uint16_t EncodeNormalBySearch(TVector3 v) {
    TDirectionOrWord found = UnitDirectionOf(v);
    if (found.isWord) return found.word;
    TDirection& d = found.direction;
    d.turnsAround = TurnsOf(d.x, d.y);
    d.turnsFromUp = TurnsOf(d.z, std::sqrt(d.x * d.x + d.y * d.y));
    return Choose(NearestInBlock(d, FirstBlock(d), 0xF), NearestInBlock(d, SecondBlock(d), 0xF));
}

}  // namespace normal_grid
