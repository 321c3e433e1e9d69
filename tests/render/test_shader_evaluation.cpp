#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/shader_evaluation.h"
#include "render/waves.h"
#include "shader/shader_lines.h"
#include "shader/shader_parser.h"

namespace {

// The game's tables, written out from their definitions.
double TableSin(long long i) {
    const double degrees = static_cast<double>(i & 1023) * 360.0 / 1023.0;
    return std::sin(static_cast<float>(degrees) * 3.14159265358979323846 / 180.0);
}
long long Index(double periods) {
    return static_cast<long long>(periods * 1024) & 1023;
}

TShaderTexture ParsedStage(const std::string& header, const std::string& lines) {
    const auto stages = ParseShader(
        PrepareShaderLines("s\n{\n" + header + "\n{\nmap a.tga\n" + lines + "\n}\n}\n", true), "s",
        "");
    EXPECT_EQ(stages.size(), 1u);
    return stages.empty() ? TShaderTexture() : stages.front();
}

// One vertex at `position` with `normal` and texture coordinates (0.25, 0.5).
TSurfaceVertices OneVertex(TVector3 position = {}, TVector3 normal = {0, 0, 1}) {
    return {{position.x, position.y, position.z},
            {normal.x, normal.y, normal.z},
            {0.25f, 0.5f},
            {0, 0, 0}};
}

TEST(Waves, EveryFormReadsTheGamesTables) {
    struct Case {
        TWave wave;
        double time;
        double expected;
    };
    const Case cases[] = {
        {{TWaveForm::Sin, 0.5f, 0.5f, 0, 1}, 0.25, 0.5 + 0.5 * TableSin(256)},
        {{TWaveForm::Triangle, 0, 1, 0, 1}, 0.125, 0.5},
        {{TWaveForm::Triangle, 0, 1, 0, 1}, 0.375, 0.5},
        {{TWaveForm::Triangle, 0, 1, 0, 1}, 0.625, -0.5},
        {{TWaveForm::Square, 0, 1, 0, 1}, 0.6, -1.0},
        {{TWaveForm::Square, 1, 2, 0, 1}, 0.1, 3.0},
        {{TWaveForm::Sawtooth, 0, 1, 0, 2}, 0.3, 614.0 / 1024},
        {{TWaveForm::InverseSawtooth, 0, 1, 0.25f, 1}, 0.0, 0.75},
        // A negative position is cut toward zero, then wrapped into the table.
        {{TWaveForm::Sawtooth, 0, 1, 0, 1}, -0.25, 768.0 / 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.wave.form));
        EXPECT_NEAR(EvaluateWave(c.wave, c.time), c.expected, 1e-6);
    }
    const TWave noise{TWaveForm::Noise, 0.5f, 0.25f, 0, 1};
    for (double t : {0.0, 0.3, 7.7}) {
        EXPECT_GE(EvaluateWave(noise, t), 0.25f);
        EXPECT_LE(EvaluateWave(noise, t), 0.75f);
    }
    EXPECT_NE(EvaluateWave(noise, 0.3), EvaluateWave(noise, 7.7));
}

TEST(StageColours, RgbGenAndAlphaGenGiveTheGamesBytes) {
    struct Case {
        const char* lines;
        double time;
        std::array<std::uint8_t, 4> rgba;
    };
    const auto waveByte = [](double v) { return static_cast<std::uint8_t>(255.0f * v); };
    const Case cases[] = {
        {"", 0, {255, 255, 255, 255}},
        {"rgbGen const ( 1 0 0 )", 0, {255, 0, 0, 255}},
        {"rgbGen const ( 0.5 0.25 1 )\nalphaGen const 0.5", 0, {127, 63, 255, 127}},
        {"rgbGen wave sin 0.5 0.5 0 1",
         0.25,
         {waveByte(0.5 + 0.5 * TableSin(256)), waveByte(0.5 + 0.5 * TableSin(256)),
          waveByte(0.5 + 0.5 * TableSin(256)), 255}},
        {"rgbGen wave square 0 1 0 1", 0.75, {0, 0, 0, 255}},  // -1 clamps to black
        {"rgbGen identityLighting", 0, {255, 255, 255, 255}},
        {"rgbGen vertex", 0, {255, 255, 255, 255}},  // a model's vertices are white
        {"rgbGen exactVertex", 0, {255, 255, 255, 255}},
        {"rgbGen entity\nalphaGen entity", 0, {255, 255, 255, 255}},
        {"rgbGen oneMinusEntity", 0, {255, 255, 255, 255}},
        {"rgbGen oneMinusVertex\nalphaGen oneMinusVertex", 0, {0, 0, 0, 0}},
        {"alphaGen wave sawtooth 0 1 0 1", 0.5, {255, 255, 255, 127}},
        {"alphaGen wave sin 0 2 0 1", 0.25, {255, 255, 255, 255}},  // clamped to one
        {"alphaGen portal 100", 0, {255, 255, 255, 127}},           // the eye is 50 units away
        {"alphaGen lightingSpecular", 0, {255, 255, 255, 255}},
    };
    TShaderView view;
    view.eye = {0, 0, 50};
    view.lightDirection = {0, 0, 1};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        view.time = c.time;
        std::vector<std::uint8_t> rgba;
        EvaluateStageColours(ParsedStage("", c.lines).effects, OneVertex(), view, rgba);
        ASSERT_EQ(rgba.size(), 4u);
        EXPECT_EQ((std::array<std::uint8_t, 4>{rgba[0], rgba[1], rgba[2], rgba[3]}), c.rgba);
    }
}

TEST(StageColours, LightingDiffuseIsAmbientPlusTheViewsLight) {
    const TStageEffects fx = ParsedStage("", "rgbGen lightingDiffuse").effects;
    TShaderView view;
    view.lightDirection = {0, 0, 1};
    struct Case {
        TVector3 normal;
        std::uint8_t level;
    };
    const Case cases[] = {{{0, 0, 1}, 255},  // 182 + 150 saturates
                          {{1, 0, 0}, 182},
                          {{0, 0, -1}, 182},
                          {{0.979796f, 0, 0.2f}, static_cast<std::uint8_t>(182 + 0.2f * 150)}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> rgba;
        EvaluateStageColours(fx, OneVertex({}, c.normal), view, rgba);
        EXPECT_EQ(rgba[0], c.level);
        EXPECT_EQ(rgba[2], c.level);
    }
}

TEST(StageTexCoords, TcGenAndTcModsFollowTheGamesFormulasInScriptOrder) {
    const float s = 0.25f, t = 0.5f;
    const float sine = static_cast<float>(TableSin(768)), cosine = static_cast<float>(TableSin(0));
    const float turb = static_cast<float>(TableSin(Index(0.25))) * 0.1f;
    struct Case {
        const char* lines;
        double time;
        TVector3 position;
        float s, t;
    };
    const Case cases[] = {
        {"", 0, {}, s, t},
        {"tcMod scroll 0.5 -0.25", 3, {}, s + 0.5f, t + 0.25f},
        {"tcMod scale 4 2", 0, {}, 1.0f, 1.0f},
        // 90 degrees a second for one second: table entry -256, wrapped.
        {"tcMod rotate 90",
         1,
         {},
         s * cosine - t * sine + 0.5f - 0.5f * cosine + 0.5f * sine,
         s * sine + t * cosine + 0.5f - 0.5f * sine - 0.5f * cosine},
        {"tcMod transform 1 0.5 0 2 0.1 0.2", 0, {}, s + 0.1f, s * 0.5f + t * 2 + 0.2f},
        {"tcMod stretch sin 2 0 0 0", 0, {}, s * 0.5f + 0.25f, t * 0.5f + 0.25f},
        {"tcMod turb 0 0.1 0 1", 0.25, {}, s + turb, t + turb},
        {"tcMod scale 2 2\ntcMod scroll 0.5 0", 1, {}, 1.0f, 1.0f},
        {"tcMod scroll 0.5 0\ntcMod scale 2 2", 1, {}, 1.5f, 1.0f},
        {"tcMod swap", 0, {}, t, 1 - s},
        {"tcGen vector ( 0.01 0 0 ) ( 0 0 0.02 )", 0, {50, 0, 25}, 0.5f, 0.5f},
        // Looking straight down the normal reflects to the map's top middle.
        {"tcGen environment", 0, {}, 0.5f, 0.0f},
    };
    TShaderView view;
    view.eye = {0, 0, 10};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        view.time = c.time;
        std::vector<float> st;
        EvaluateStageTexCoords(ParsedStage("", c.lines).effects, OneVertex(c.position), view, st);
        ASSERT_EQ(st.size(), 2u);
        EXPECT_NEAR(st[0], c.s, 1e-5);
        EXPECT_NEAR(st[1], c.t, 1e-5);
    }
}

TEST(StageTexCoords, AnimMapShowsFramesByTime) {
    const TStageEffects fx = ParsedStage("", "animMap 2 a.tga b.tga c.tga").effects;
    const std::pair<double, int> cases[] = {{0.0, 0}, {0.49, 0}, {0.5, 1},
                                            {1.0, 2}, {1.5, 0},  {-3.0, 0}};
    for (const auto& [time, frame] : cases)
        EXPECT_EQ(AnimMapFrame(fx, time), frame) << time;
    EXPECT_EQ(AnimMapFrame(ParsedStage("", "animMap 2 a.tga").effects, 5.0), 0);
}

TEST(Deforms, VerticesMoveAsTheGameMovesThem) {
    struct Case {
        const char* header;
        double time;
        TVector3 position;
        TVector3 expected;
    };
    const float wave = static_cast<float>(TableSin(Index(0.25))) * 10.0f;
    // Spread 1/100: a vertex whose coordinates add up to 30 is 0.3 periods ahead.
    const float spread = static_cast<float>(TableSin(Index(0.55))) * 10.0f;
    // 1024 / 2 pi entries per unit of s: s = 0.25 at time 0 is entry 40.
    const float bulge = static_cast<float>(TableSin(40)) * 2.0f;
    const Case cases[] = {
        {"deformVertexes wave 100 sin 0 10 0 1", 0.25, {}, {0, 0, wave}},
        {"deformVertexes wave 100 sin 0 10 0 1", 0.25, {10, 10, 10}, {10, 10, 10 + spread}},
        {"deformVertexes wave 100 sin 3 10 0 0", 0.25, {}, {0, 0, 3}},  // no frequency: base
        {"deformVertexes move 0 0 5 sawtooth 0 1 0 1", 0.5, {1, 1, 1}, {1, 1, 3.5f}},
        {"deformVertexes bulge 1 2 3", 0, {}, {0, 0, bulge}},
        {"deformVertexes projectionShadow", 1, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        TShaderView view;
        view.time = c.time;
        TSurfaceVertices v = OneVertex(c.position);
        ApplyDeforms(ParsedStage(c.header, "").deforms, view, v);
        EXPECT_NEAR(v.positions[0], c.expected.x, 1e-4);
        EXPECT_NEAR(v.positions[1], c.expected.y, 1e-4);
        EXPECT_NEAR(v.positions[2], c.expected.z, 1e-4);
    }

    TSurfaceVertices wiggled = OneVertex({3.3f, 1.7f, 0.2f});
    TShaderView view;
    view.time = 0.4;
    ApplyDeforms(ParsedStage("deformVertexes normal 0.5 1", "").deforms, view, wiggled);
    EXPECT_NEAR(VectorLength(wiggled.Normal(0)), 1.0f, 1e-4);
    EXPECT_FALSE(wiggled.Normal(0) == (TVector3{0, 0, 1}));
}

// A square lying flat and a long upright strip, each as the two triangles of four vertices.
TSurfaceVertices Quad(std::vector<float> positions) {
    TSurfaceVertices v;
    v.positions = std::move(positions);
    v.normals.assign(12, 0.0f);
    v.texCoords.assign(8, 0.0f);
    v.indices = {0, 1, 3, 3, 1, 2};
    return v;
}

TEST(Deforms, SpritesTurnToTheViewer) {
    TShaderView view;  // looking along +x, left is +y, up is +z
    TSurfaceVertices flat = Quad({1, 1, 0, -1, 1, 0, -1, -1, 0, 1, -1, 0});
    ApplyDeforms(ParsedStage("deformVertexes autoSprite", "").deforms, view, flat);
    const float r = std::sqrt(2.0f) * 0.707f;
    const std::vector<float> upright = {0, r, r, 0, -r, r, 0, -r, -r, 0, r, -r};
    for (std::size_t i = 0; i < upright.size(); ++i)
        EXPECT_NEAR(flat.positions[i], upright[i], 1e-5) << i;
    EXPECT_EQ(flat.texCoords, (std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1}));
    EXPECT_EQ(flat.indices, (std::vector<std::uint32_t>{0, 1, 3, 3, 1, 2}));

    // Seen along y, a strip standing in the y-z plane turns about its long axis into x-z.
    view.viewForward = {0, 1, 0};
    TSurfaceVertices strip = Quad({0, -0.5f, 0, 0, 0.5f, 0, 0, 0.5f, 10, 0, -0.5f, 10});
    ApplyDeforms(ParsedStage("deformVertexes autoSprite2", "").deforms, view, strip);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(strip.positions[i * 3 + 1], 0.0f, 1e-5) << i;
        EXPECT_NEAR(std::fabs(strip.positions[i * 3]), 0.5f, 1e-5) << i;
    }
}

}  // namespace
