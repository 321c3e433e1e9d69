#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shader/gl_blend_factors.h"
#include "shader/shader_keywords.h"
#include "shader/shader_lines.h"
#include "shader/shader_parser.h"

namespace {

using Stages = std::vector<TShaderTexture>;

Stages Parse(const std::string& script, const std::string& name = "s",
             const std::string& altName = "") {
    return ParseShader(PrepareShaderLines(script, true), name, altName);
}

// One stage holding `stageLines`, in a shader with an empty header.
TShaderTexture Stage(const std::string& stageLines) {
    const Stages stages = Parse("s\n{\n{\n" + stageLines + "\n}\n}\n");
    EXPECT_EQ(stages.size(), 1u);
    return stages.empty() ? TShaderTexture() : stages.front();
}

TEST(ShaderParse, FindsTheNameLineThenTheAlternativeName) {
    const std::string script =
        "other\n{\n{\nmap wrong.tga\n}\n}\n"
        "models\\x\\body\n{\n{\nmap back.tga\n}\n}\n"
        "models/x/body\n{\n{\nmap fwd.tga\n}\n}\n"
        "Models/X/Head.TGA\n{\n{\nmap head.tga\n}\n}\n";
    Stages stages = Parse(script, "models/x/head.tga", "models/x/head");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].shaderName, "models/x/head.tga");
    EXPECT_EQ(stages[0].textureName, "head.tga");

    stages = Parse(script, "models/x/body.tga", "models/x/body");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].textureName, "fwd.tga");

    // The backslash form of the alternative name is tried last and keeps its backslashes.
    stages = Parse("models/x/body\n{\n{\nmap fwd.tga\n}\n}\n", "nope", "models\\x\\body");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].shaderName, "models\\x\\body");
    stages = Parse(script, "nope", "models\\x\\body");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].textureName, "back.tga");

    EXPECT_TRUE(Parse(script, "missing", "missing/too").empty());
    EXPECT_TRUE(Parse("s {\n{\nmap a.tga\n}\n}\n").empty());  // brace on the name line
    EXPECT_TRUE(Parse("s\ncull none\n").empty());             // no opening brace
    EXPECT_TRUE(Parse("\n{\n{\nmap a.tga\n}\n}\n", "", "").empty());
}

TEST(ShaderParse, StagesEndAtTheFirstClosingBraceOutsideABlock) {
    const Stages stages = Parse(
        "s\n{\ncull front\n{\n}\nignored map between.tga\n{\nmap b.tga\n}\n}\n"
        "{\nmap next_shader.tga\n}\n"
        "t\n{\n{\nmap t.tga\n}\n}\n");
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[0].textureName, "");  // an empty block still makes a stage
    EXPECT_EQ(stages[0].blendSrc, 0);
    EXPECT_EQ(stages[0].cull, 3);
    EXPECT_EQ(stages[1].textureName, "b.tga");

    // A stage left open at the end of the file is kept.
    const Stages open = Parse("s\n{\n{\nmap a.tga\n");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].textureName, "a.tga");
}

TEST(ShaderParse, HeaderValuesCarryIntoEveryStage) {
    const Stages stages = Parse(
        "S\n{\n"
        "  qer_alphafunc gequal 0.5\n"
        "  polygonOffset\n"
        "  surfaceparm sky\n"
        "  deformVertexes autosprite\n"
        "  cull twosided\n"
        "  {\n    map a.tga\n    alphaFunc LT128\n    blendFunc add\n    tcMod scroll 1 2\n  }\n"
        "  {\n    map b.tga\n  }\n"
        "}\n",
        "s");
    ASSERT_EQ(stages.size(), 2u);
    for (const TShaderTexture& stage : stages) {
        EXPECT_EQ(stage.shaderName, "s");
        EXPECT_EQ(stage.cull, 0);
        EXPECT_TRUE(stage.polygonOffset);
        EXPECT_TRUE(stage.sky);
        EXPECT_TRUE(stage.autosprite);
    }
    EXPECT_EQ(stages[0].alphaFunc, 2);
    EXPECT_EQ(stages[1].alphaFunc, 2);  // carried over from the stage before
    EXPECT_EQ(stages[1].textureName, "b.tga");
    EXPECT_EQ(stages[1].blendSrc, 0);  // reset for every stage
    EXPECT_EQ(stages[1].blendDst, 0);
    EXPECT_EQ(stages[1].scrollSpeedS, 0.0f);
}

TEST(ShaderParse, HeaderCullAndEditorAlphaFunction) {
    auto header = [](const std::string& line) {
        const Stages stages = Parse("s\n{\n" + line + "\n{\n}\n}\n");
        EXPECT_EQ(stages.size(), 1u);
        return stages.empty() ? TShaderTexture() : stages.front();
    };
    EXPECT_EQ(header("").cull, 4);
    EXPECT_EQ(header("cull front").cull, 3);
    EXPECT_EQ(header("cull front\ncull back").cull, 4);
    EXPECT_EQ(header("cull disable").cull, 0);
    EXPECT_EQ(header("cull none").cull, 0);
    EXPECT_EQ(header("qer_alphafunc greater 0.5").alphaFunc, 1);
    EXPECT_EQ(header("qer_alphafunc less 0.5").alphaFunc, 2);
    EXPECT_EQ(header("qer_alphafunc gequal 0.5").alphaFunc, 3);
    EXPECT_EQ(header("qer_alphafunc equal 0.5").alphaFunc, 0);
    EXPECT_FALSE(header("surfaceparm nomarks").sky);
}

TEST(ShaderParse, ImplicitMapAndMaskMakeTheFirstStage) {
    Stages stages = Parse("textures/x/y\n{\nimplicitMap -\n}\n", "textures/x/y");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].textureName, "textures/x/y");
    EXPECT_EQ(stages[0].blendSrc, kGlDstColor);
    EXPECT_EQ(stages[0].blendDst, kGlZero);
    EXPECT_EQ(stages[0].cull, 4);

    stages = Parse("s\n{\nimplicitMask textures/m.tga\n{\nmap x.tga\n}\n}\n");
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[0].textureName, "textures/m.tga");
    EXPECT_EQ(stages[0].blendSrc, kGlSrcAlpha);
    EXPECT_EQ(stages[0].blendDst, kGlOneMinusSrcAlpha);
    EXPECT_EQ(stages[0].alphaFunc, 1);
    EXPECT_EQ(stages[1].alphaFunc, 1);
    EXPECT_EQ(stages[1].blendSrc, 0);

    // The image replaces the line for the tests that follow on it, substring rules and all.
    stages = Parse("s\n{\nsurfaceparm sky implicitmap textures/a.tga\n}\n");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].textureName, "textures/a.tga");
    EXPECT_FALSE(stages[0].sky);
    stages = Parse("s\n{\nimplicitmap textures/sky/surfaceparm.tga\n}\n");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_TRUE(stages[0].sky);
}

TEST(ShaderParse, BlendFuncWordsAndShorthands) {
    struct Case {
        const char* line;
        std::int32_t src;
        std::int32_t dst;
    };
    const Case cases[] = {
        {"blendFunc GL_ONE GL_ONE", kGlOne, kGlOne},
        {"blendfunc add", kGlOne, kGlOne},
        {"blendfunc filter", kGlDstColor, kGlZero},
        {"blendfunc blend", kGlSrcAlpha, kGlOneMinusSrcAlpha},
        {"blendfunc gl_dst_color gl_one_minus_dst_alpha", kGlDstColor, kGlOneMinusDstAlpha},
        {"blendFunc GL_SRC_ALPHA_SATURATE GL_DST_ALPHA", kGlSrcAlphaSaturate, kGlDstAlpha},
        {"blendFunc GL_ONE_MINUS_DST_COLOR\tGL_SRC_COLOR", kGlOneMinusDstColor, kGlSrcColor},
        {"blendFunc GL_ZERO   GL_ONE_MINUS_SRC_COLOR", kGlZero, kGlOneMinusSrcColor},
        {"blendFunc GL_SRC_COLOR GL_DST_COLOR", 0, 0},  // neither word is in its list
        {"blendfunc gl_one", kGlDstColor, kGlZero},     // one word: the defaults
    };
    for (const Case& c : cases) {
        const TShaderTexture stage = Stage(c.line);
        EXPECT_EQ(stage.blendSrc, c.src) << c.line;
        EXPECT_EQ(stage.blendDst, c.dst) << c.line;
    }
}

TEST(ShaderParse, MapFamily) {
    TShaderTexture stage = Stage("animMap 8 textures/a.tga textures/b.tga");
    EXPECT_EQ(stage.textureName, "textures/a.tga");
    EXPECT_TRUE(stage.animMap);
    EXPECT_EQ(Stage("animmap 8 textures/a.tga").textureName, "textures/a.tga");
    EXPECT_EQ(Stage("animmap\t8 \t textures/a.tga\ttextures/b.tga").textureName, "textures/a.tga");

    stage = Stage("clampMap textures/c.tga");
    EXPECT_EQ(stage.textureName, "textures/c.tga");
    EXPECT_TRUE(stage.clamp);

    stage = Stage("map $lightmap tcgen environment");
    EXPECT_EQ(stage.textureName, "$lightmap");
    EXPECT_TRUE(stage.lightmap);
    EXPECT_FALSE(stage.environment);  // the rest of a lightmap line is not read

    stage = Stage("map $whiteimage");
    EXPECT_EQ(stage.textureName, "$whiteimage");
    EXPECT_TRUE(stage.whiteImage);

    stage = Stage("videoMap video/intro.roq");
    EXPECT_TRUE(stage.videoMap);
    EXPECT_EQ(stage.textureName, "");

    // Substring rules: a later line mentioning "map" resets the flags and renames the image.
    stage = Stage("map $lightmap\nrgbGen identity\ntcGen lightmap");
    EXPECT_FALSE(stage.lightmap);
    EXPECT_EQ(stage.textureName, "");
    EXPECT_EQ(Stage("map textures/maps/a.tga").textureName, "textures/maps/a.tga");
}

TEST(ShaderParse, TexCoordModifiersAndAlphaFunction) {
    TShaderTexture stage = Stage("tcMod scroll 0.5 -1");
    EXPECT_EQ(stage.scrollSpeedS, 0.5f);
    EXPECT_EQ(stage.scrollSpeedT, -1.0f);
    stage = Stage("tcmod scroll -.125\t.25");
    EXPECT_EQ(stage.scrollSpeedS, -0.125f);
    EXPECT_EQ(stage.scrollSpeedT, 0.25f);
    stage = Stage("tcmod scroll 1 2\ntcmod scroll fast 1");
    EXPECT_EQ(stage.scrollSpeedS, 0.0f);
    EXPECT_EQ(stage.scrollSpeedT, 0.0f);
    EXPECT_EQ(Stage("tcmod scroll 3").scrollSpeedS, 0.0f);

    EXPECT_EQ(Stage("tcMod rotate -30").rotationSpeed, -30.0f);
    EXPECT_EQ(Stage("tcMod rotate 30\ntcmod rotate fast").rotationSpeed, 0.0f);
    EXPECT_TRUE(Stage("tcGen environment").environment);
    EXPECT_FALSE(Stage("tcGen vector ( 0 1 0 )").environment);

    EXPECT_EQ(Stage("alphaFunc GT0").alphaFunc, 1);
    EXPECT_EQ(Stage("alphaFunc LT128").alphaFunc, 2);
    EXPECT_EQ(Stage("alphaFunc GE128").alphaFunc, 3);
    EXPECT_EQ(Stage("alphaFunc GE128\nalphaFunc GE127").alphaFunc, 3);
}

TEST(ShaderParse, NumbersAreWholeDecimalTexts) {
    float value = 7.0f;
    EXPECT_TRUE(ParseShaderNumber("+2", value));
    EXPECT_EQ(value, 2.0f);
    EXPECT_TRUE(ParseShaderNumber("1e-3", value));
    EXPECT_FLOAT_EQ(value, 0.001f);
    EXPECT_TRUE(ParseShaderNumber("5.", value));
    EXPECT_EQ(value, 5.0f);
    for (const char* bad :
         {"", "-", "+", ".", "+-1", "fast", "inf", "-nan", "1.5x", "1e999", "0x10", "1 2"}) {
        value = 7.0f;
        EXPECT_FALSE(ParseShaderNumber(bad, value)) << bad;
        EXPECT_EQ(value, 7.0f) << bad;
    }
}

}  // namespace
