#include "render/waves.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kMask = kWaveTableSize - 1;
constexpr double kPi = 3.14159265358979323846;

struct TWaveTables {
    std::array<float, kWaveTableSize> sine{};
    std::array<float, kWaveTableSize> square{};
    std::array<float, kWaveTableSize> triangle{};
    std::array<float, kWaveTableSize> sawtooth{};
    std::array<float, kWaveTableSize> inverseSawtooth{};

    TWaveTables() {
        for (int i = 0; i < kWaveTableSize; ++i) {
            // The game spreads one period over size - 1 steps; kept, so values match.
            const float degrees = static_cast<float>(i) * 360.0f / static_cast<float>(kMask);
            sine[i] = static_cast<float>(std::sin(degrees * kPi / 180.0));
            square[i] = i < kWaveTableSize / 2 ? 1.0f : -1.0f;
            sawtooth[i] = static_cast<float>(i) / kWaveTableSize;
            inverseSawtooth[i] = 1.0f - sawtooth[i];
            if (i < kWaveTableSize / 2) {
                triangle[i] = i < kWaveTableSize / 4 ? static_cast<float>(i) / (kWaveTableSize / 4)
                                                     : 1.0f - triangle[i - kWaveTableSize / 4];
            } else {
                triangle[i] = -triangle[i - kWaveTableSize / 2];
            }
        }
    }
};

const TWaveTables& Tables() {
    static const TWaveTables tables;
    return tables;
}

// The C library's rand() as the game's Linux build sees it after srand(1001), so the noise
// table holds the same numbers.
class TGameRandom {
  public:
    explicit TGameRandom(std::uint32_t seed) {
        std::array<std::int32_t, 34> start{};
        start[0] = static_cast<std::int32_t>(seed);
        for (int i = 1; i < 31; ++i) {
            const std::int64_t next = (16807LL * start[i - 1]) % 2147483647LL;
            start[i] = static_cast<std::int32_t>(next < 0 ? next + 2147483647LL : next);
        }
        for (int i = 31; i < 34; ++i)
            start[i] = start[i - 31];
        for (int i = 0; i < 34; ++i)
            ring_[i] = static_cast<std::uint32_t>(start[i]);
        count_ = 34;
        for (int i = 34; i < 344; ++i)
            Step();
    }
    std::uint32_t Next() { return Step() >> 1; }

  private:
    std::uint32_t Step() {
        const std::uint32_t value = At(count_ - 31) + At(count_ - 3);
        ring_[count_ % ring_.size()] = value;
        ++count_;
        return value;
    }
    std::uint32_t At(std::size_t i) const { return ring_[i % ring_.size()]; }

    std::array<std::uint32_t, 64> ring_{};
    std::size_t count_ = 0;
};

constexpr int kNoiseSize = 256;

struct TNoiseTables {
    std::array<float, kNoiseSize> values{};
    std::array<int, kNoiseSize> permutation{};

    TNoiseTables() {
        TGameRandom random(1001);
        constexpr float kRandMax = 2147483647.0f;
        for (int i = 0; i < kNoiseSize; ++i) {
            values[i] =
                static_cast<float>(static_cast<float>(random.Next()) / kRandMax * 2.0 - 1.0);
            permutation[i] = static_cast<unsigned char>(
                static_cast<int>(static_cast<float>(random.Next()) / kRandMax * 255));
        }
    }

    int Perm(int a) const { return permutation[static_cast<std::size_t>(a & (kNoiseSize - 1))]; }
    float At(int x, int y, int z, int t) const {
        return values[static_cast<std::size_t>(Perm(x + Perm(y + Perm(z + Perm(t)))))];
    }
};

const TNoiseTables& Noise() {
    static const TNoiseTables tables;
    return tables;
}

float Lerp(float a, float b, float w) {
    return a * (1.0f - w) + b * w;
}

}  // namespace

float WaveTableValue(TWaveForm form, long long index) {
    const auto i = static_cast<std::size_t>(index & kMask);
    const TWaveTables& t = Tables();
    switch (form) {
        case TWaveForm::Sin:
            return t.sine[i];
        case TWaveForm::Square:
            return t.square[i];
        case TWaveForm::Triangle:
            return t.triangle[i];
        case TWaveForm::Sawtooth:
            return t.sawtooth[i];
        case TWaveForm::InverseSawtooth:
            return t.inverseSawtooth[i];
        case TWaveForm::Noise:
            break;
    }
    return 0.0f;
}

float WaveTableAt(TWaveForm form, double position) {
    // Truncated toward zero, then wrapped by the mask, as the game's integer cast does.
    const double scaled = position * kWaveTableSize;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.0e18) return WaveTableValue(form, 0);
    return WaveTableValue(form, static_cast<long long>(scaled));
}

float EvaluateWave(const TWave& wave, double time) {
    if (wave.form == TWaveForm::Noise) {
        const auto t = static_cast<float>((time + wave.phase) * wave.frequency);
        return wave.base + LatticeNoise(0.0f, 0.0f, 0.0f, t) * wave.amplitude;
    }
    return wave.base + WaveTableAt(wave.form, wave.phase + time * wave.frequency) * wave.amplitude;
}

float LatticeNoise(float x, float y, float z, float t) {
    const TNoiseTables& n = Noise();
    const auto floorOf = [](float v) {
        const double f = std::floor(static_cast<double>(v));
        return std::fabs(f) < 1.0e9 ? static_cast<int>(f) : 0;
    };
    const int ix = floorOf(x), iy = floorOf(y), iz = floorOf(z), it = floorOf(t);
    const float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
    const float fz = z - static_cast<float>(iz), ft = t - static_cast<float>(it);
    float value[2];
    for (int i = 0; i < 2; ++i) {
        const float front =
            Lerp(Lerp(n.At(ix, iy, iz, it + i), n.At(ix + 1, iy, iz, it + i), fx),
                 Lerp(n.At(ix, iy + 1, iz, it + i), n.At(ix + 1, iy + 1, iz, it + i), fx), fy);
        const float back = Lerp(
            Lerp(n.At(ix, iy, iz + 1, it + i), n.At(ix + 1, iy, iz + 1, it + i), fx),
            Lerp(n.At(ix, iy + 1, iz + 1, it + i), n.At(ix + 1, iy + 1, iz + 1, it + i), fx), fy);
        value[i] = Lerp(front, back, fz);
    }
    return Lerp(value[0], value[1], ft);
}
