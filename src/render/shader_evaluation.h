// The per-frame half of a shader, free of OpenGL: from the surface's vertices, the view and
// the shader clock, the positions, colours and texture coordinates each stage is drawn with,
// computed the way the game computes them on the CPU.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "shader/stage_effects.h"

// Where the model is seen from and lit from, in the model's own coordinates, and the time.
struct TShaderView {
    double time = 0.0;                          // the shader clock, in seconds
    TVector3 eye{0.0f, 0.0f, 0.0f};             // the viewer
    TVector3 lightDirection{0.0f, 0.0f, 1.0f};  // unit vector towards the light
    TVector3 viewForward{1.0f, 0.0f, 0.0f};     // unit vectors of the camera
    TVector3 viewLeft{0.0f, 1.0f, 0.0f};
    TVector3 viewUp{0.0f, 0.0f, 1.0f};
};

// One surface's vertices for one frame; deformations rewrite them in place (sprites also
// rewrite the triangles).
struct TSurfaceVertices {
    std::vector<float> positions;  // x y z per vertex
    std::vector<float> normals;    // x y z per vertex
    std::vector<float> texCoords;  // s t per vertex, as the file gives them
    std::vector<std::uint32_t> indices;

    std::size_t Count() const { return positions.size() / 3; }
    TVector3 Position(std::size_t i) const {
        return {positions[i * 3], positions[i * 3 + 1], positions[i * 3 + 2]};
    }
    TVector3 Normal(std::size_t i) const {
        return {normals[i * 3], normals[i * 3 + 1], normals[i * 3 + 2]};
    }
};

// How the game lights a model that has no map around it: a fixed ambient level and one
// directed light, in colour bytes.
constexpr float kModelAmbientLight = 182.0f;
constexpr float kModelDirectedLight = 150.0f;

// RGBA bytes per vertex from the stage's rgbGen and alphaGen.
void EvaluateStageColours(const TStageEffects& effects, const TSurfaceVertices& vertices,
                          const TShaderView& view, std::vector<std::uint8_t>& rgba);

// S, t per vertex from the stage's tcGen, then its tcMods in script order.
void EvaluateStageTexCoords(const TStageEffects& effects, const TSurfaceVertices& vertices,
                            const TShaderView& view, std::vector<float>& st);

// The animMap frame shown at `time` (0 for a stage with fewer than two frames).
int AnimMapFrame(const TStageEffects& effects, double time);

// The shader's deformations in script order. Projection shadows and text are left out: they
// need the game's world and text.
void ApplyDeforms(const std::vector<TDeform>& deforms, const TShaderView& view,
                  TSurfaceVertices& vertices);

// Whether any deformation moves vertices or normals (the drawing then copies the surface).
bool DeformsAnything(const std::vector<TDeform>& deforms);
