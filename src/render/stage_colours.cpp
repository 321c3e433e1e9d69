// rgbGen and alphaGen. A model from a file has no vertex colours and no game entity behind
// it, so the game's vertex colour and entity colour are both taken as opaque white, and the
// light is the view's.
#include <algorithm>
#include <cmath>

#include "render/shader_evaluation.h"
#include "render/waves.h"

namespace {

std::uint8_t ClampedByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f));
}

void Fill(std::vector<std::uint8_t>& rgba, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        rgba[i] = r, rgba[i + 1] = g, rgba[i + 2] = b;
}

void FillAlpha(std::vector<std::uint8_t>& rgba, std::uint8_t a) {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = a;
}

void DiffuseColours(const TSurfaceVertices& v, const TShaderView& view,
                    std::vector<std::uint8_t>& rgba) {
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const float incoming = VectorDot(v.Normal(i), view.lightDirection);
        const std::uint8_t level =
            incoming <= 0.0f
                ? ClampedByte(kModelAmbientLight)
                : ClampedByte(std::floor(kModelAmbientLight + incoming * kModelDirectedLight));
        rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = level;
    }
}

// The light's reflection towards the eye, to the fourth power.
void SpecularAlpha(const TSurfaceVertices& v, const TShaderView& view,
                   std::vector<std::uint8_t>& rgba) {
    const TVector3 light = view.lightDirection;
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const TVector3 n = v.Normal(i);
        const float d = VectorDot(n, light);
        const TVector3 reflected = n * (2.0f * d) - light;
        const TVector3 viewer = view.eye - v.Position(i);
        const float length = VectorLength(viewer);
        float l = length > 0.0f ? VectorDot(reflected, viewer) / length : 0.0f;
        std::uint8_t b = 0;
        if (l >= 0.0f) {
            l = l * l;
            l = l * l;
            b = ClampedByte(std::floor(l * 255.0f));
        }
        rgba[i * 4 + 3] = b;
    }
}

// Transparent near the viewer, opaque from the portal's range on.
void PortalAlpha(const TSurfaceVertices& v, const TShaderView& view, float range,
                 std::vector<std::uint8_t>& rgba) {
    for (std::size_t i = 0; i < v.Count(); ++i) {
        const float distance = VectorLength(v.Position(i) - view.eye) / range;
        rgba[i * 4 + 3] = distance < 0.0f   ? 0
                          : distance > 1.0f ? 255
                                            : static_cast<std::uint8_t>(distance * 255.0f);
    }
}

std::uint8_t WaveByte(const TWave& wave, double time) {
    const float glow = std::clamp(EvaluateWave(wave, time), 0.0f, 1.0f);
    return static_cast<std::uint8_t>(255.0f * glow);
}

}  // namespace

void EvaluateStageColours(const TStageEffects& fx, const TSurfaceVertices& v,
                          const TShaderView& view, std::vector<std::uint8_t>& rgba) {
    rgba.assign(v.Count() * 4, 255);
    switch (fx.rgbGen) {
        case TRgbGen::Const:
            Fill(rgba, fx.constColour[0], fx.constColour[1], fx.constColour[2]);
            break;
        case TRgbGen::Wave: {
            const std::uint8_t level = WaveByte(fx.rgbWave, view.time);
            Fill(rgba, level, level, level);
            break;
        }
        case TRgbGen::OneMinusVertex:
            Fill(rgba, 0, 0, 0);  // one minus the white vertex colour
            break;
        case TRgbGen::LightingDiffuse:
            DiffuseColours(v, view, rgba);
            break;
        default:
            break;  // identity, identity lighting, vertex, exact vertex, entity: white
    }
    switch (fx.alphaGen) {
        case TAlphaGen::Const:
            FillAlpha(rgba, fx.constColour[3]);
            break;
        case TAlphaGen::Wave:
            FillAlpha(rgba, WaveByte(fx.alphaWave, view.time));
            break;
        case TAlphaGen::OneMinusVertex:
            FillAlpha(rgba, 0);
            break;
        case TAlphaGen::LightingSpecular:
            SpecularAlpha(v, view, rgba);
            break;
        case TAlphaGen::Portal:
            PortalAlpha(v, view, fx.portalRange != 0.0f ? fx.portalRange : 256.0f, rgba);
            break;
        default:
            break;  // identity, vertex, entity: opaque
    }
}
