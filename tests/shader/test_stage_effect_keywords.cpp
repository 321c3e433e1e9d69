#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shader/shader_lines.h"
#include "shader/shader_parser.h"

namespace {

std::vector<TShaderTexture> Parse(const std::string& header, const std::string& stages) {
    return ParseShader(PrepareShaderLines("s\n{\n" + header + "\n" + stages + "\n}\n", true), "s",
                       "");
}

TEST(StageEffectKeywords, DepthWritesAndSortFollowTheBlendAsTheGameSettlesThem) {
    struct Case {
        const char* header;
        const char* stages;
        bool depthWrite;
        float sort;
    };
    const Case cases[] = {
        {"", "{\nmap a.tga\n}", true, kSortOpaque},
        {"", "{\nmap a.tga\nblendFunc add\n}", false, kSortBlend0},
        {"", "{\nmap a.tga\nblendFunc GL_ONE GL_ONE\ndepthWrite\n}", true, kSortSeeThrough},
        {"", "{\nmap a.tga\ndepthWrite\nblendFunc blend\n}", true, kSortSeeThrough},
        {"", "{\nmap a.tga\nblendFunc GL_ONE GL_ZERO\n}", true, kSortOpaque},
        // Only a blended first stage makes the shader blended.
        {"", "{\nmap a.tga\n}\n{\nmap b.tga\nblendFunc filter\n}", true, kSortOpaque},
        {"sort additive", "{\nmap a.tga\n}", true, kSortAdditive},
        {"sort 7.5", "{\nmap a.tga\n}", true, 7.5f},
        {"polygonOffset", "{\nmap a.tga\nblendFunc blend\n}", false, kSortDecal},
        {"surfaceparm sky", "{\nmap a.tga\n}", true, kSortEnvironment},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.header) + " / " + c.stages);
        const std::vector<TShaderTexture> stages = Parse(c.header, c.stages);
        ASSERT_FALSE(stages.empty());
        EXPECT_EQ(stages.front().effects.depthWrite, c.depthWrite);
        for (const TShaderTexture& stage : stages)
            EXPECT_EQ(stage.sort, c.sort);
    }
}

TEST(StageEffectKeywords, StageLinesFillTheirEffects) {
    const TStageEffects fx =
        Parse("",
              "{\nanimMap 2.5 a.tga b.tga\nrgbGen const ( 1 0.5 bad )\nalphaGen const 0.5\n"
              "tcGen vector ( 0.1 0 0 ) ( 0 0 0.2 )\ntcMod scale 2 3\ntcMod turb 0 0.1 0.2 1\n"
              "tcMod stretch triangle 1 0.5 0 2\ntcMod entityTranslate\ndepthFunc equal\n}")
            .front()
            .effects;
    EXPECT_EQ(fx.rgbGen, TRgbGen::Const);
    EXPECT_EQ(fx.constColour, (std::array<std::uint8_t, 4>{255, 127, 0, 127}));
    EXPECT_EQ(fx.alphaGen, TAlphaGen::Const);
    EXPECT_EQ(fx.animFrequency, 2.5f);
    EXPECT_EQ(fx.animFrames, (std::vector<std::string>{"a.tga", "b.tga"}));
    EXPECT_EQ(fx.tcGen, TTcGen::Vector);
    EXPECT_EQ(fx.tcGenVectors[1][2], 0.2f);
    ASSERT_EQ(fx.tcMods.size(), 3u);  // entityTranslate moves nothing on a lone model
    EXPECT_EQ(fx.tcMods[0].kind, TTcModKind::Scale);
    EXPECT_EQ(fx.tcMods[0].values[1], 3.0f);
    EXPECT_EQ(fx.tcMods[1].kind, TTcModKind::Turb);
    EXPECT_EQ(fx.tcMods[1].wave.phase, 0.2f);
    EXPECT_EQ(fx.tcMods[2].wave.form, TWaveForm::Triangle);
    EXPECT_EQ(fx.tcMods[2].wave.frequency, 2.0f);
    EXPECT_EQ(fx.depthFunc, TDepthFunc::Equal);

    // Vertex colours bring their alpha unless the stage names one first.
    EXPECT_EQ(Parse("", "{\nrgbGen vertex\n}").front().effects.alphaGen, TAlphaGen::Vertex);
    EXPECT_EQ(Parse("", "{\nalphaGen const 1\nrgbGen vertex\n}").front().effects.alphaGen,
              TAlphaGen::Const);
}

TEST(StageEffectKeywords, HeaderDeformationsKeepTheirOrderAndParameters) {
    const std::vector<TDeform> deforms =
        Parse(
            "deformVertexes wave 0 sin 1 2 3 4\ndeformVertexes move 1 2 3 square 0 1 0 0.5\n"
            "deformVertexes projectionShadow\ndeformVertexes bogus",
            "{\nmap a.tga\n}")
            .front()
            .deforms;
    ASSERT_EQ(deforms.size(), 3u);
    EXPECT_EQ(deforms[0].kind, TDeformKind::Wave);
    EXPECT_EQ(deforms[0].spread, 100.0f);  // a division by 0 gets the game's fallback
    EXPECT_EQ(deforms[0].wave.frequency, 4.0f);
    EXPECT_EQ(deforms[1].kind, TDeformKind::Move);
    EXPECT_EQ(deforms[1].move, (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(deforms[1].wave.form, TWaveForm::Square);
    EXPECT_EQ(deforms[2].kind, TDeformKind::ProjectionShadow);
}

}  // namespace
