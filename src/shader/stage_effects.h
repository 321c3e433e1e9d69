// What a stage computes per vertex and per frame, as the script sets it: colour and alpha
// sources, texture coordinate generation and modifiers, animated images, depth test and
// write; and the shader-wide vertex deformations and sort value. The drawing evaluates them
// against the shader clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class TWaveForm : std::uint8_t { Sin, Square, Triangle, Sawtooth, InverseSawtooth, Noise };

struct TWave {
    TWaveForm form = TWaveForm::Sin;
    float base = 0.0f;
    float amplitude = 0.0f;
    float phase = 0.0f;
    float frequency = 0.0f;
};

// NotGiven: the stage names none; the drawing then picks what the game picks.
enum class TRgbGen : std::uint8_t {
    NotGiven,
    Identity,
    IdentityLighting,
    Const,
    Wave,
    Vertex,
    ExactVertex,
    OneMinusVertex,
    LightingDiffuse,
    Entity,
    OneMinusEntity,
};

enum class TAlphaGen : std::uint8_t {
    NotGiven,
    Identity,
    Const,
    Wave,
    Vertex,
    OneMinusVertex,
    Entity,
    OneMinusEntity,
    LightingSpecular,
    Portal,
    NormalZFade,
};

enum class TTcGen : std::uint8_t { Base, Environment, Vector, Lightmap };

enum class TTcModKind : std::uint8_t { Scroll, Rotate, Scale, Stretch, Transform, Turb, Swap };

struct TTcMod {
    TTcModKind kind = TTcModKind::Scroll;
    TWave wave;  // stretch and turb
    // scroll: s, t per second; scale: s, t; rotate: degrees per second in [0];
    // transform: m00 m01 m10 m11 t0 t1.
    std::array<float, 6> values{};
};

enum class TDeformKind : std::uint8_t {
    Wave,
    Normal,
    Bulge,
    Move,
    Autosprite,
    Autosprite2,
    ProjectionShadow,  // needs the world's ground: not drawn on a lone model
    Text,              // needs text from the game: not drawn
};

struct TDeform {
    TDeformKind kind = TDeformKind::Wave;
    TWave wave;           // wave, move; normal: amplitude and frequency
    float spread = 0.0f;  // wave: 1 / the script's division
    float bulgeWidth = 0.0f;
    float bulgeHeight = 0.0f;
    float bulgeSpeed = 0.0f;
    std::array<float, 3> move{};  // move
};

enum class TDepthFunc : std::uint8_t { LessEqual, Equal };

// The game's sort classes; a script may also give any number.
constexpr float kSortPortal = 1;
constexpr float kSortEnvironment = 2;
constexpr float kSortOpaque = 3;
constexpr float kSortDecal = 4;
constexpr float kSortSeeThrough = 5;
constexpr float kSortBanner = 6;
constexpr float kSortUnderwater = 8;
constexpr float kSortBlend0 = 9;
constexpr float kSortAdditive = 10;
constexpr float kSortNearest = 16;

struct TStageEffects {
    TRgbGen rgbGen = TRgbGen::NotGiven;
    TAlphaGen alphaGen = TAlphaGen::NotGiven;
    std::array<std::uint8_t, 4> constColour{255, 255, 255, 255};
    TWave rgbWave;
    TWave alphaWave;
    float portalRange = 256.0f;
    TTcGen tcGen = TTcGen::Base;
    std::array<std::array<float, 3>, 2> tcGenVectors{};
    std::vector<TTcMod> tcMods;  // in script order, which is the order they apply in
    float animFrequency = 0.0f;  // frames per second
    std::vector<std::string> animFrames;
    std::vector<std::string> animFramePaths;       // resolved files, one per frame
    std::vector<std::uint32_t> animFrameTextures;  // GL texture names, one per frame
    TDepthFunc depthFunc = TDepthFunc::LessEqual;
    bool depthWrite = true;  // false once blended, unless "depthWrite" says so
    bool depthWriteGiven = false;
    bool blendGiven = false;  // the script blends this stage (not one/zero)
};
