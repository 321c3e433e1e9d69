// The grid of decoded packed normals and the nearest-word search over it: the definition the
// encoder follows, shared with its tests and benchmark. See math/normal.h for the word itself.
#pragma once

#include <array>
#include <cstdint>

#include "math/vector.h"

namespace normal_grid {

// The renderer's sine table: 1024 entries over a turn, filled with a divisor of 1023, and a
// byte angle indexes every fourth entry. Cosines come from the entry a quarter table ahead,
// wrapped, so the decoded grid is very slightly skewed; porting the table keeps it so.
inline constexpr int kTableSize = 1024;
inline constexpr int kTableMask = kTableSize - 1;

struct TNormalTables {
    std::array<float, kTableSize> sine{};
    // Per byte angle: the cosine and sine the decode takes for it, and for the azimuth the
    // squared length of that pair (the skew makes it differ from 1 by a hair).
    std::array<std::array<double, 3>, 256> azimuth{};
    std::array<std::array<double, 2>, 256> inclination{};
};

const TNormalTables& Tables();

// A byte angle b points along 4b/1023 of a turn.
inline constexpr double kStepsPerTurn = (kTableSize - 1) / 4.0;

// The angle of (x, y) in turns, from 0 up to 1, within kTurnsError of the true angle.
double TurnsOf(double x, double y);
// Measured over a sweep of ten million angles: 3.24e-5 turns (a hundredth of a degree).
inline constexpr double kTurnsError = 3.5e-5;

// A direction of unit length and its two angles in turns: around Z from +X, and down from +Z.
struct TDirection {
    double x = 0.0, y = 0.0, z = 0.0;
    double turnsAround = 0.0, turnsFromUp = 0.0;
};
// A zero or non-finite vector, and vectors along Z, have a fixed word and no direction; the
// others are scaled to unit length (the angles left at zero).
struct TDirectionOrWord {
    bool isWord = false;
    std::uint16_t word = 0;
    TDirection direction;
};
TDirectionOrWord UnitDirectionOf(TVector3 v);

// Every direction has two spellings: (azimuth, inclination) and (azimuth + half a turn,
// one turn - inclination), whose sine is negative. With the skewed table they land on
// different points, a third of a degree apart at least, so the words around both are
// candidates. A block is the four words around one spelling: azimuth a0, a0 + 1 (wrapped) and
// inclination b0, b0 + 1 (those past 255 left out); candidate k of a block is
// (a0 + (k & 1), b0 + (k >> 1)), in the order the search takes them.
struct TBlock {
    long a0 = 0, b0 = 0;
};
inline TBlock FirstBlock(const TDirection& d) {
    // Both angles are positive: truncation is the floor.
    return {static_cast<long>(d.turnsAround * kStepsPerTurn),
            static_cast<long>(d.turnsFromUp * kStepsPerTurn)};
}
inline TBlock SecondBlock(const TDirection& d) {
    const double around = d.turnsAround < 0.5 ? d.turnsAround + 0.5 : d.turnsAround - 0.5;
    return {static_cast<long>(around * kStepsPerTurn),
            static_cast<long>((1.0 - d.turnsFromUp) * kStepsPerTurn)};
}
inline bool HasCandidate(TBlock block, int k) {
    return block.b0 + (k >> 1) <= 255;
}
inline std::uint16_t CandidateWord(TBlock block, int k) {
    return static_cast<std::uint16_t>((((block.a0 + (k & 1)) & 0xFF) << 8) | (block.b0 + (k >> 1)));
}

// Candidates are compared by their squared cosine with the sign kept, dot * |dot| / length²,
// which orders them as the angle does; fractions are compared crosswise, without a square
// root or a division per word.
struct TCandidate {
    std::uint16_t word = 0;
    double signedSquare = -1.0, lengthSquared = 1.0;
    bool Beats(const TCandidate& other, double margin) const {
        return signedSquare * other.lengthSquared > (other.signedSquare + margin) * lengthSquared;
    }
};

// The nearest of the block's candidates whose bit is set in `mask` (bit k for candidate k);
// of equally near ones the first.
TCandidate NearestInBlock(const TDirection& d, TBlock block, unsigned mask);

// The first spelling, the one the game's tools write, is kept unless the other is clearly
// nearer: a cosine closer by a millionth (a few hundredths of a degree).
inline constexpr double kSecondSpellingMargin = 2e-6;
inline std::uint16_t Choose(const TCandidate& first, const TCandidate& second) {
    return second.Beats(first, kSecondSpellingMargin) ? second.word : first.word;
}

// The encoder's definition: the nearest word by searching all eight candidates of both
// blocks. EncodeNormal gives the same word faster.
std::uint16_t EncodeNormalBySearch(TVector3 v);

}  // namespace normal_grid
