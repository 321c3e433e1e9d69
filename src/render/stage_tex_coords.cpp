// tcGen, tcMod and animMap, with the game's tables and truncations so that coordinates and
// frames match it at every time.
#include <algorithm>
#include <array>
#include <cmath>

#include "render/shader_evaluation.h"
#include "render/waves.h"

namespace {

using TMatrix2 = std::array<float, 6>;  // m00 m01 m10 m11 t0 t1

void Transform(const TMatrix2& m, std::vector<float>& st) {
    for (std::size_t i = 0; i + 1 < st.size(); i += 2) {
        const float s = st[i], t = st[i + 1];
        st[i] = s * m[0] + t * m[2] + m[4];
        st[i + 1] = s * m[1] + t * m[3] + m[5];
    }
}

void Environment(const TSurfaceVertices& v, const TShaderView& view, std::vector<float>& st) {
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const TVector3 n = v.Normal(i);
        const TVector3 viewer = VectorNormalize(view.eye - v.Position(i));
        const TVector3 reflected = n * (2.0f * VectorDot(n, viewer)) - viewer;
        // The model stands at the world's origin: the game's position shift is one half.
        st[i * 2] = 0.5f + reflected.y * 0.5f;
        st[i * 2 + 1] = 0.5f - reflected.z * 0.5f;
    }
}

void Scroll(const TTcMod& mod, double time, std::vector<float>& st) {
    double s = mod.values[0] * time;
    double t = mod.values[1] * time;
    // Kept below one, as the game keeps them, so coordinates never grow without bound.
    s -= std::floor(s);
    t -= std::floor(t);
    for (std::size_t i = 0; i + 1 < st.size(); i += 2) {
        st[i] += static_cast<float>(s);
        st[i + 1] += static_cast<float>(t);
    }
}

void Rotate(const TTcMod& mod, double time, std::vector<float>& st) {
    const double degrees = -mod.values[0] * time;
    const double scaled = degrees * (kWaveTableSize / 360.0);
    const long long index = std::fabs(scaled) < 9.0e18 ? static_cast<long long>(scaled) : 0;
    const float sine = WaveTableValue(TWaveForm::Sin, index);
    const float cosine = WaveTableValue(TWaveForm::Sin, index + kWaveTableSize / 4);
    Transform({cosine, sine, -sine, cosine, 0.5f - 0.5f * cosine + 0.5f * sine,
               0.5f - 0.5f * sine - 0.5f * cosine},
              st);
}

void Stretch(const TTcMod& mod, double time, std::vector<float>& st) {
    const float value = EvaluateWave(mod.wave, time);
    if (value == 0.0f) return;  // an infinite stretch: the game's coordinates turn invalid
    const float p = 1.0f / value;
    Transform({p, 0.0f, 0.0f, p, 0.5f - 0.5f * p, 0.5f - 0.5f * p}, st);
}

void Turbulence(const TTcMod& mod, const TSurfaceVertices& v, double time, std::vector<float>& st) {
    const double now = mod.wave.phase + time * mod.wave.frequency;
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const TVector3 p = v.Position(i);
        const double sAt = (p.x + p.z) * 1.0 / 128 * 0.125 + now;
        const double tAt = p.y * 1.0 / 128 * 0.125 + now;
        st[i * 2] += WaveTableAt(TWaveForm::Sin, sAt) * mod.wave.amplitude;
        st[i * 2 + 1] += WaveTableAt(TWaveForm::Sin, tAt) * mod.wave.amplitude;
    }
}

void ApplyTcMod(const TTcMod& mod, const TSurfaceVertices& v, double time, std::vector<float>& st) {
    switch (mod.kind) {
        case TTcModKind::Scroll:
            Scroll(mod, time, st);
            break;
        case TTcModKind::Rotate:
            Rotate(mod, time, st);
            break;
        case TTcModKind::Stretch:
            Stretch(mod, time, st);
            break;
        case TTcModKind::Turb:
            Turbulence(mod, v, time, st);
            break;
        case TTcModKind::Transform:
            Transform(mod.values, st);
            break;
        case TTcModKind::Scale:
            Transform({mod.values[0], 0.0f, 0.0f, mod.values[1], 0.0f, 0.0f}, st);
            break;
        case TTcModKind::Swap:
            for (std::size_t i = 0; i + 1 < st.size(); i += 2) {
                const float s = st[i];
                st[i] = st[i + 1];
                st[i + 1] = 1.0f - s;
            }
            break;
    }
}

}  // namespace

void EvaluateStageTexCoords(const TStageEffects& fx, const TSurfaceVertices& v,
                            const TShaderView& view, std::vector<float>& st) {
    const std::size_t count = v.Count();
    st.assign(count * 2, 0.0f);
    switch (fx.tcGen) {
        case TTcGen::Environment:
            Environment(v, view, st);
            break;
        case TTcGen::Vector:
            for (std::size_t i = 0; i < count; ++i) {
                const TVector3 p = v.Position(i);
                for (std::size_t k = 0; k < 2; ++k) {
                    const auto& axis = fx.tcGenVectors[k];
                    st[i * 2 + k] = p.x * axis[0] + p.y * axis[1] + p.z * axis[2];
                }
            }
            break;
        default:  // base; a model has no lightmap coordinates, so those are its own too
            std::copy_n(v.texCoords.begin(), std::min(v.texCoords.size(), st.size()), st.begin());
            break;
    }
    for (const TTcMod& mod : fx.tcMods)
        ApplyTcMod(mod, v, view.time, st);
}

int AnimMapFrame(const TStageEffects& fx, double time) {
    const auto frames = static_cast<long long>(fx.animFrames.size());
    if (frames < 2) return 0;
    // Through the wave table's scale, so frames change exactly where a wave of the same
    // frequency turns over.
    const double scaled = time * fx.animFrequency * kWaveTableSize;
    long long index = std::fabs(scaled) < 9.0e18 ? static_cast<long long>(scaled) : 0;
    index >>= 10;
    if (index < 0) index = 0;
    return static_cast<int>(index % frames);
}
