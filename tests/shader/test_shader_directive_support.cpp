// Shader directives as the game reads them, each marked drawn, not applicable to models or not
// drawn: one script with a line of every class, checked line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shader/shader_directive_lines.h"
#include "shader/shader_directive_support.h"
#include "shader/shader_index.h"
#include "support/test_files.h"

namespace {

using S = DirectiveSupport;

TEST(ShaderDirectiveSupport, EveryLineMarkedInItsPlace) {
    const std::string script =
        "// a comment before the first shader\n"
        "models/a\n"
        "{\n"
        "\tqer_editorimage a.tga\n"  // 4
        "\tQ3MAP_NoLightmap // the compiler's\n"
        "\tsurfaceparm nomarks\n"
        "\tcull none\n"
        "\talphaFunc GE128\n"  // 8: a stage keyword in the header
        "\tdistanceCull 0 512 0.5\n"
        "\tdeformVertexes projectionShadow\n"
        "\tdeformVertexes text3\n"
        "\tdeformVertexes wave 100 sin 0 1 0 1\n"
        "\t{ map $lightmap }\n"  // 13: braces on the directive's line
        "\t{\n"
        "\t\tmap a.tga /* a comment */ // and another\n"
        "\t\trgbGen vertex\n"
        "\t\tTCMOD entityTranslate\n"  // 17
        "\t\trgbGen sparkle\n"
        "\t\tcull none\n"
        "\t\ttcGen lightmap\n"
        "\t\ttcMod scale 2 2 }\n"  // 21: the brace ends the stage
        "\timplicitMap -\n"        // 22: back in the header
        "}\n"
        "models/b{{clampmap b.tga}}\n";  // 24
    struct Expected {
        std::int64_t line;
        std::int64_t stage;
        std::string text;
        S support;
        bool unknown;
    };
    const std::vector<Expected> a = {
        {4, 0, "qer_editorimage a.tga", S::NotApplicable, false},
        {5, 0, "Q3MAP_NoLightmap", S::NotApplicable, false},
        {6, 0, "surfaceparm nomarks", S::NotApplicable, false},
        {7, 0, "cull none", S::Drawn, false},
        {8, 0, "alphaFunc GE128", S::NotDrawn, true},
        {9, 0, "distanceCull 0 512 0.5", S::NotDrawn, false},
        {10, 0, "deformVertexes projectionShadow", S::NotApplicable, false},
        {11, 0, "deformVertexes text3", S::NotApplicable, false},
        {12, 0, "deformVertexes wave 100 sin 0 1 0 1", S::Drawn, false},
        {13, 1, "map $lightmap", S::NotApplicable, false},
        {15, 2, "map a.tga", S::Drawn, false},
        {16, 2, "rgbGen vertex", S::Drawn, false},
        {17, 2, "TCMOD entityTranslate", S::NotDrawn, false},
        {18, 2, "rgbGen sparkle", S::NotDrawn, true},
        {19, 2, "cull none", S::NotDrawn, true},
        {20, 2, "tcGen lightmap", S::NotApplicable, false},
        {21, 2, "tcMod scale 2 2", S::Drawn, false},
        {22, 0, "implicitMap -", S::Drawn, false},
    };

    const std::vector<TScriptShader> shaders = ListShaderDirectives(script);
    ASSERT_EQ(shaders.size(), 2u);
    EXPECT_EQ(shaders[0].name, "models/a");
    EXPECT_EQ(shaders[0].stages, 2);
    ASSERT_EQ(shaders[0].directives.size(), a.size());
    TDirectiveCounts counts;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const TShaderDirective& d = shaders[0].directives[i];
        const TDirectiveVerdict verdict = ClassifyShaderDirective(d.words, d.stage > 0);
        counts.Add(verdict.support);
        EXPECT_EQ(d.line, a[i].line) << a[i].text;
        EXPECT_EQ(d.stage, a[i].stage) << a[i].text;
        EXPECT_EQ(DirectiveText(d), a[i].text);
        EXPECT_EQ(verdict.support, a[i].support) << a[i].text;
        EXPECT_EQ(verdict.unknown, a[i].unknown) << a[i].text;
        EXPECT_EQ(verdict.reason.empty(), a[i].support != S::NotApplicable) << a[i].text;
    }
    EXPECT_EQ(counts.drawn, 6);
    EXPECT_EQ(counts.notApplicable, 7);
    EXPECT_EQ(counts.notDrawn, 5);
    EXPECT_DOUBLE_EQ(counts.NotDrawnPercent(), 100.0 * 5 / 11);

    ASSERT_EQ(shaders[1].directives.size(), 1u);
    EXPECT_EQ(shaders[1].name, "models/b");
    EXPECT_EQ(shaders[1].stages, 1);
    EXPECT_EQ(shaders[1].directives[0].line, 24);
    EXPECT_EQ(DirectiveText(shaders[1].directives[0]), "clampmap b.tga");
}

// Real scripts: the walk finds the shaders the index finds, and of the directives that apply
// to models at most 1% are not drawn; the only unknown keyword is a misspelling in one of them.
TEST(ShaderDirectiveSupport, SampleScripts) {
    VELDRA_REQUIRE_SAMPLES("shader");
    TDirectiveCounts counts;
    std::vector<std::string> unknown;
    for (const auto& file : testing_support::SampleFiles("shader")) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<std::uint8_t> bytes = testing_support::ReadBytes(file.string());
        const auto shaders = ListShaderDirectives(std::string(bytes.begin(), bytes.end()));
        TETShader entry;
        EXPECT_EQ(static_cast<std::size_t>(IndexShaderFile(file.string(), entry)), shaders.size());
        for (const TScriptShader& shader : shaders) {
            for (const TShaderDirective& d : shader.directives) {
                const TDirectiveVerdict verdict = ClassifyShaderDirective(d.words, d.stage > 0);
                counts.Add(verdict.support);
                if (verdict.unknown) unknown.push_back(DirectiveText(d));
            }
        }
    }
    EXPECT_GT(counts.drawn, 2000);
    EXPECT_GT(counts.notApplicable, 200);
    EXPECT_LE(counts.NotDrawnPercent(), 1.0);
    EXPECT_EQ(unknown, std::vector<std::string>{"blenfunc blend"});
}

}  // namespace
