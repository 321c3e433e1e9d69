// deformVertexes: waves along the normals, wiggled normals, bulges, moves and sprites that
// face the viewer, in the order the shader lists them.
#include <algorithm>
#include <array>
#include <cmath>

#include "render/shader_evaluation.h"
#include "render/waves.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

void SetPosition(TSurfaceVertices& v, std::size_t i, TVector3 p) {
    v.positions[i * 3] = p.x, v.positions[i * 3 + 1] = p.y, v.positions[i * 3 + 2] = p.z;
}

void SetNormal(TSurfaceVertices& v, std::size_t i, TVector3 n) {
    v.normals[i * 3] = n.x, v.normals[i * 3 + 1] = n.y, v.normals[i * 3 + 2] = n.z;
}

float WaveAt(const TWave& wave, float phase, double time) {
    TWave shifted = wave;
    shifted.phase = phase;
    return EvaluateWave(shifted, time);
}

void Wave(const TDeform& d, double time, TSurfaceVertices& v) {
    if (d.wave.frequency == 0.0f) {
        const float scale = EvaluateWave(d.wave, time);
        for (std::size_t i = 0; i < v.Count(); ++i)
            SetPosition(v, i, v.Position(i) + v.Normal(i) * scale);
        return;
    }
    if (d.wave.frequency > 0.0f) {
        for (std::size_t i = 0; i < v.Count(); ++i) {
            const TVector3 p = v.Position(i);
            const float offset = (p.x + p.y + p.z) * d.spread;
            SetPosition(v, i, p + v.Normal(i) * WaveAt(d.wave, d.wave.phase + offset, time));
        }
        return;
    }
    // A negative frequency makes the game's flames: vertices rise along the world's up,
    // only where the normal and the wave agree; above 999 they sink instead.
    TWave wave = d.wave;
    wave.frequency = -wave.frequency;
    const bool sink = wave.frequency > 999.0f;
    if (sink) wave.frequency -= 999.0f;
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const TVector3 p = v.Position(i);
        const float offset = (p.x + p.y + p.z) * d.spread;
        float scale = WaveAt(wave, wave.phase + offset, time);
        const float dot = v.Normal(i).z;
        if (dot * scale > 0.0f) {
            if (sink) scale = -scale;
            SetPosition(v, i, p + TVector3{0.0f, 0.0f, dot * scale});
        }
    }
}

void Normals(const TDeform& d, double time, TSurfaceVertices& v) {
    const auto t = static_cast<float>(time * d.wave.frequency);
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const TVector3 p = v.Position(i) * 0.98f;
        TVector3 n = v.Normal(i);
        n.x += d.wave.amplitude * LatticeNoise(p.x, p.y, p.z, t);
        n.y += d.wave.amplitude * LatticeNoise(100.0f + p.x, p.y, p.z, t);
        n.z += d.wave.amplitude * LatticeNoise(200.0f + p.x, p.y, p.z, t);
        SetNormal(v, i, VectorNormalize(n));
    }
}

void Bulge(const TDeform& d, double time, TSurfaceVertices& v) {
    const double now = time * d.bulgeSpeed;
    for (std::size_t i = 0; i < v.Count() && i * 2 < v.texCoords.size(); ++i) {
        const double at = static_cast<double>(kWaveTableSize / (kPi * 2)) *
                          (v.texCoords[i * 2] * d.bulgeWidth + now);
        const long long index = std::fabs(at) < 9.0e18 ? static_cast<long long>(at) : 0;
        const float scale = WaveTableValue(TWaveForm::Sin, index) * d.bulgeHeight;
        SetPosition(v, i, v.Position(i) + v.Normal(i) * scale);
    }
}

void Move(const TDeform& d, double time, TSurfaceVertices& v) {
    const float scale = EvaluateWave(d.wave, time);
    const TVector3 offset = TVector3{d.move[0], d.move[1], d.move[2]} * scale;
    for (std::size_t i = 0; i < v.Count(); ++i)
        SetPosition(v, i, v.Position(i) + offset);
}

// Every four vertices become a square around their middle, turned to the viewer.
void Autosprite(const TShaderView& view, TSurfaceVertices& v) {
    const std::size_t quads = v.Count() / 4;
    const TVector3 normal = -view.viewForward;
    v.texCoords.resize(v.Count() * 2);
    v.indices.clear();
    for (std::size_t q = 0; q < quads; ++q) {
        const std::size_t first = q * 4;
        const TVector3 mid = (v.Position(first) + v.Position(first + 1) + v.Position(first + 2) +
                              v.Position(first + 3)) *
                             0.25f;
        const float radius = VectorLength(v.Position(first) - mid) * 0.707f;
        const TVector3 left = view.viewLeft * radius;
        const TVector3 up = view.viewUp * radius;
        const std::array<TVector3, 4> corners = {mid + left + up, mid - left + up, mid - left - up,
                                                 mid + left - up};
        static constexpr float kCornerST[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (std::size_t k = 0; k < 4; ++k) {
            SetPosition(v, first + k, corners[k]);
            SetNormal(v, first + k, normal);
            v.texCoords[(first + k) * 2] = kCornerST[k][0];
            v.texCoords[(first + k) * 2 + 1] = kCornerST[k][1];
        }
        const auto f = static_cast<std::uint32_t>(first);
        v.indices.insert(v.indices.end(), {f, f + 1, f + 3, f + 3, f + 1, f + 2});
    }
}

// Every four vertices (a long rectangle drawn as two triangles) turn about their long axis
// to face the viewer.
void Autosprite2(const TShaderView& view, TSurfaceVertices& v) {
    static constexpr int kEdges[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    const std::size_t quads = std::min(v.Count() / 4, v.indices.size() / 6);
    for (std::size_t q = 0; q < quads; ++q) {
        const std::size_t first = q * 4;
        const auto corner = [&](int k) { return v.Position(first + static_cast<std::size_t>(k)); };
        int nums[2] = {0, 0};
        float lengths[2] = {999999.0f, 999999.0f};
        for (int j = 0; j < 6; ++j) {
            const TVector3 edge = corner(kEdges[j][0]) - corner(kEdges[j][1]);
            const float l = VectorDot(edge, edge);
            if (l < lengths[0]) {
                nums[1] = nums[0], lengths[1] = lengths[0];
                nums[0] = j, lengths[0] = l;
            } else if (l < lengths[1]) {
                nums[1] = j, lengths[1] = l;
            }
        }
        TVector3 mids[2];
        for (int j = 0; j < 2; ++j)
            mids[j] = (corner(kEdges[nums[j]][0]) + corner(kEdges[nums[j]][1])) * 0.5f;
        const TVector3 minor = VectorNormalize(VectorCross(mids[1] - mids[0], view.viewForward));
        for (int j = 0; j < 2; ++j) {
            const auto a = static_cast<std::uint32_t>(first) + kEdges[nums[j]][0];
            const auto b = static_cast<std::uint32_t>(first) + kEdges[nums[j]][1];
            const float l = 0.5f * std::sqrt(lengths[j]);
            // Which way the edge runs in the triangles decides which end goes which way.
            bool forward = false;
            for (std::size_t k = 0; k < 5; ++k) {
                if (v.indices[q * 6 + k] == a && v.indices[q * 6 + k + 1] == b) forward = true;
            }
            SetPosition(v, a, mids[j] + minor * (forward ? -l : l));
            SetPosition(v, b, mids[j] + minor * (forward ? l : -l));
        }
    }
}

}  // namespace

bool DeformsAnything(const std::vector<TDeform>& deforms) {
    return std::any_of(deforms.begin(), deforms.end(), [](const TDeform& d) {
        return d.kind != TDeformKind::ProjectionShadow && d.kind != TDeformKind::Text;
    });
}

void ApplyDeforms(const std::vector<TDeform>& deforms, const TShaderView& view,
                  TSurfaceVertices& v) {
    for (const TDeform& d : deforms) {
        switch (d.kind) {
            case TDeformKind::Wave:
                Wave(d, view.time, v);
                break;
            case TDeformKind::Normal:
                Normals(d, view.time, v);
                break;
            case TDeformKind::Bulge:
                Bulge(d, view.time, v);
                break;
            case TDeformKind::Move:
                Move(d, view.time, v);
                break;
            case TDeformKind::Autosprite:
                Autosprite(view, v);
                break;
            case TDeformKind::Autosprite2:
                Autosprite2(view, v);
                break;
            case TDeformKind::ProjectionShadow:
            case TDeformKind::Text:
                break;
        }
    }
}
