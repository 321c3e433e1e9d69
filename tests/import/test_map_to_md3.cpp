// Maps converted into MD3 models: surfaces per texture, fans, projection, the format's
// limits, the bounds question, and every sample map.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "import/level_map.h"
#include "import/map_text.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "support/test_files.h"

using namespace map_text;

namespace {

class ScriptedAnswer : public UserPrompts {
  public:
    explicit ScriptedAnswer(PromptAnswer answer) : answer_(answer) {}
    PromptAnswer Ask(const std::string&, const std::string& text, PromptButtons) override {
        asked = text;
        return answer_;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::string asked;

  private:
    PromptAnswer answer_;
};

struct Converted {
    bool ok = false;
    std::string error;
    TMD3 model;
};

Converted Convert(const std::string& text, UserPrompts* prompts = nullptr,
                  TTextureSizeLookup lookup = {}) {
    TLevelMap map;
    map.SetTextureSizeLookup(std::move(lookup));
    map.LoadMapText(text, "cube");
    Converted c;
    c.ok = map.ConvertToMD3(c.model, prompts);
    c.error = map.LastError();
    return c;
}

std::array<std::string, 6> Six(const std::string& t) {
    return {t, t, t, t, t, t};
}

std::string Shader(const TMD3& m, int surface) {
    return NameFieldText(m.header.surfaces[static_cast<std::size_t>(surface)].shaders[0].name);
}

}  // namespace

TEST(MapToMD3, CubeGivesOneSurfaceOfTwentyFourVertices) {
    const Converted c = Convert(World({Cube(64, "base_wall/concrete")}));
    ASSERT_TRUE(c.ok);
    const THeader& h = c.model.header;
    EXPECT_EQ(NameFieldText(h.name), "K_Converted_From_Map_cube");
    ASSERT_EQ(h.numSurfaces, 1);
    ASSERT_EQ(h.numFrames, 1);
    const TSurface& s = h.surfaces[0];
    EXPECT_EQ(NameFieldText(s.name), "surface0");
    EXPECT_EQ(Shader(c.model, 0), "textures/base_wall/concrete");
    EXPECT_EQ(s.numVerts, 24);
    EXPECT_EQ(s.numTriangles, 12);
    const TMD3Frame& f = h.frames[0];
    // The map's own coordinates: placed back at the map's origin, the model covers its brush.
    EXPECT_EQ(f.minBounds, (TVector3{0, 0, 0}));
    EXPECT_EQ(f.maxBounds, (TVector3{64, 64, 64}));
    EXPECT_EQ(f.localOrigin, (TVector3{32, 32, 32}));
    EXPECT_NEAR(f.radius, 55.43f, 0.01f);
    EXPECT_EQ(std::string(f.name, 16), std::string("K MAP Convert\0  ", 16));
    // Seen from outside, every triangle runs clockwise.
    for (const TMD3Triangle& tri : s.triangles) {
        TVector3 p[3];
        for (int k = 0; k < 3; ++k) {
            const TMD3Vertex& v = s.vertices[static_cast<std::size_t>(tri.indexes[k])];
            p[k] = {v.x / 64.0f, v.y / 64.0f, v.z / 64.0f};
        }
        const TVector3 n = VectorCross(VectorSubtract(p[1], p[0]), VectorSubtract(p[2], p[0]));
        const TVector3 out = VectorSubtract(VectorAverage(p, 3), f.localOrigin);
        EXPECT_LT(VectorDot(n, out), 0.0f);
    }
}

TEST(MapToMD3, ExcludedTexturesAndLetterCase) {
    struct Case {
        std::string bottom;
        int surfaces, firstVerts;
    };
    for (const Case& k : {Case{"common/caulk", 1, 20}, Case{"NULL", 1, 20}, Case{"null", 2, 20},
                          Case{"T", 1, 24}}) {
        const Converted c =
            Convert(World({Box(0, 0, 0, 64, 64, 64, {"t", "t", "t", "t", "t", k.bottom})}));
        ASSERT_TRUE(c.ok) << k.bottom;
        EXPECT_EQ(c.model.header.numSurfaces, k.surfaces) << k.bottom;
        EXPECT_EQ(c.model.header.surfaces[0].numVerts, k.firstVerts) << k.bottom;
        EXPECT_EQ(c.model.header.surfaces[0].numTriangles, k.firstVerts / 2) << k.bottom;
    }
    // The surface takes the form met first and keeps the faces of the other form.
    const Converted c = Convert(World({Cube(8, "Base/Wall"), Cube(8, "base/wall")}));
    ASSERT_EQ(c.model.header.numSurfaces, 1);
    EXPECT_EQ(Shader(c.model, 0), "textures/Base/Wall");
    EXPECT_EQ(c.model.header.surfaces[0].numVerts, 48);
}

TEST(MapToMD3, FloorProjectionUsesTheTextureSize) {
    const auto lookup = [](const std::string& name) -> std::optional<std::pair<int, int>> {
        if (name == "textures/floor") return std::pair{128, 128};
        return std::nullopt;
    };
    const Converted c =
        Convert(World({Box(0, 0, 0, 64, 64, 64, Six("floor"), "0 0 0 0.5 0.5")}), nullptr, lookup);
    ASSERT_TRUE(c.ok);
    const TSurface& s = c.model.header.surfaces[0];
    int checked = 0;
    for (std::size_t i = 0; i < s.vertices.size(); ++i) {
        const TVector3 n = DecodeNormal(s.vertices[i].normal);
        if (n.z > 0.9f && s.vertices[i].x == 64 * 64) {  // map x = 64 on the top face
            EXPECT_FLOAT_EQ(s.texCoords[i].s, 1.0f);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2);
}

TEST(MapToMD3, LimitsOfTheFormat) {
    std::vector<std::string> many;
    for (int n = 0; n < 33; ++n) {
        std::string name = "t";
        name += std::to_string(n);
        many.push_back(Box(0, 0, 0, 8, 8, 8, Six(name)));
    }
    const std::string caulk = "common/caulk";
    auto quads = [&](int count) {
        std::vector<std::string> brushes(static_cast<std::size_t>(count / 6), Cube(8, "q"));
        const int rest = count % 6;
        auto face = [&](int i) { return i < rest ? std::string("q") : caulk; };
        brushes.push_back(
            Box(0, 0, 0, 8, 8, 8, {face(0), face(1), face(2), face(3), face(4), face(5)}));
        return World(brushes);
    };
    auto triangles = [&](int count) {
        std::vector<std::string> brushes(static_cast<std::size_t>(count / 2),
                                         Prism("q", "q", caulk));
        if (count % 2) brushes.push_back(Prism("q", caulk, caulk));
        return World(brushes);
    };
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {World(many), "MAX_SURFACES limit exceeded: 33 > 32\r\nToo many shaders/textures used.."},
        {World(std::vector<std::string>(many.begin(), many.begin() + 32)), ""},
        {quads(257),
         "MAX_VERTS limit exceeded: 1028 > 1024\r\nToo many vetices used with the same "
         "shader/texture..\r\nShadername: q"},
        {quads(256), ""},
        {triangles(342),
         "MAX_VERTS limit exceeded: 1026 > 1024\r\nToo many vetices used with the same "
         "shader/texture..\r\nShadername: q"},
        {triangles(341), ""},
    };
    for (const Case& k : cases) {
        const Converted c = Convert(k.text);
        EXPECT_EQ(c.ok, k.error.empty()) << k.error;
        EXPECT_EQ(c.error, k.error);
        if (!c.ok) {
            EXPECT_EQ(c.model.header.numSurfaces, 0);
        }
    }
    // A conversion that fails must fail this test, not crash it on a missing surface.
    const Converted fullQuads = Convert(quads(256));
    ASSERT_TRUE(fullQuads.ok && fullQuads.model.header.numSurfaces == 1) << fullQuads.error;
    EXPECT_EQ(fullQuads.model.header.surfaces[0].numVerts, 1024);
    const Converted fullTriangles = Convert(triangles(341));
    ASSERT_TRUE(fullTriangles.ok && fullTriangles.model.header.numSurfaces == 1)
        << fullTriangles.error;
    EXPECT_EQ(fullTriangles.model.header.surfaces[0].numTriangles, 341);

    // Yes to the split question: pieces of at most 1024 vertices, numbered on.
    ScriptedAnswer yes(PromptAnswer::Yes);
    const Converted split = Convert(quads(257), &yes);
    ASSERT_TRUE(split.ok) << split.error;
    ASSERT_EQ(split.model.header.numSurfaces, 2);
    EXPECT_EQ(split.model.header.surfaces[0].numVerts, 1024);
    EXPECT_EQ(split.model.header.surfaces[1].numVerts, 4);
    EXPECT_EQ(Shader(split.model, 1), "textures/q");
    EXPECT_EQ(NameFieldText(split.model.header.surfaces[1].name), "surface1");
}

TEST(MapToMD3, SixCornerPolygonGivesFourTriangles) {
    // A cube with one corner cut off through the middle: the cut is a hexagon.
    std::string brush = Cube(64, "side");
    brush.insert(brush.size() - 2,
                 Face(Point(64, 32, 0), Point(32, 0, 64), Point(0, 64, 32), "cut"));
    const Converted c = Convert(World({brush}));
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.model.header.numSurfaces, 2);
    EXPECT_EQ(Shader(c.model, 1), "textures/cut");
    EXPECT_EQ(c.model.header.surfaces[1].numVerts, 6);
    EXPECT_EQ(c.model.header.surfaces[1].numTriangles, 4);
}

TEST(MapToMD3, MapsThatGiveNoTriangleAreRefusedWithTheReason) {
    const Converted empty = Convert("{\n\"classname\" \"worldspawn\"\n}\n");
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.error, "no triangles to convert: the map has no brushes or patches");
    const Converted caulk = Convert(World({Cube(64, "common/caulk")}));
    EXPECT_EQ(caulk.error,
              "no triangles to convert: 6 faces with tool textures (common/, NULL) left out");
    // Scaled down to fit, a small box's corners fall onto lines of the 1/64-unit grid: its
    // twelve triangles are left out with their surface and counted; when nothing is left,
    // the conversion is refused.
    ScriptedAnswer yes(PromptAnswer::Yes);
    TLevelMap scaled;
    scaled.LoadMapText(World({Box(0, 0, 0, 0.5f, 0.5f, 0.5f, Six("t")),
                              Box(60000, 0, 0, 60064, 64, 64, Six("u"))}),
                       "scaled");
    TMD3 scaledModel;
    ASSERT_TRUE(scaled.ConvertToMD3(scaledModel, &yes));
    EXPECT_EQ(scaled.SkippedText(),
              "12 triangles too small for the 1/64-unit grid of stored positions left out");
    ASSERT_EQ(scaledModel.header.numSurfaces, 1);
    EXPECT_EQ(Shader(scaledModel, 0), "textures/u");
    EXPECT_GT(scaledModel.header.frames[0].minBounds.x, 500.0f);  // the small box's are gone
    EXPECT_EQ(Convert(World({Box(0, 0, 0, 0.5f, 0.5f, 0.5f, Six("t")),
                             Box(60000, 0, 0, 60000.5f, 0.5f, 0.5f, Six("t"))}),
                      &yes)
                  .error,
              "no triangles to convert: every triangle is too small for the 1/64-unit grid of "
              "stored positions");
    TLevelMap notLoaded;
    TMD3 model;
    EXPECT_FALSE(notLoaded.ConvertToMD3(model, nullptr));
}

TEST(MapToMD3, MapsBeyondTheStoredRangeAreScaledOnlyWhenAskedTo) {
    const std::string text = World({Box(0, 0, 0, 1022, 8, 8, Six("t"))});
    ScriptedAnswer no(PromptAnswer::No), yes(PromptAnswer::Yes);
    for (UserPrompts* prompts :
         {static_cast<UserPrompts*>(nullptr), static_cast<UserPrompts*>(&no)}) {
        const Converted c = Convert(text, prompts);
        EXPECT_FALSE(c.ok);
        EXPECT_EQ(c.error, "MAP-model coordinates are exceeding the MD3 bounds: -511 to 511");
    }
    EXPECT_EQ(no.asked,
              "The model coordinates are out of the MD3-bounds.\r\nScale the model down?");
    const Converted c = Convert(text, &yes);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.model.header.frames[0].maxBounds.x, 511.0f);
    int highest = 0;
    for (const TMD3Vertex& v : c.model.header.surfaces[0].vertices)
        highest = std::max<int>(highest, v.x);
    EXPECT_EQ(highest, 32704);
    // 511.9 fits without a question.
    EXPECT_TRUE(Convert(World({Box(0, 0, 0, 511.9f, 8, 8, Six("t"))})).ok);
}

TEST(MapToMD3, EverySampleMapConvertsOrIsRefusedWithAMessage) {
    VELDRA_REQUIRE_SAMPLES("map");
    ScriptedAnswer yes(PromptAnswer::Yes);
    int converted = 0;
    for (const auto& file : testing_support::SampleFiles("map")) {
        TLevelMap map;
        ASSERT_TRUE(map.LoadMap(file.string())) << file;
        TMD3 model;
        const bool ok = map.ConvertToMD3(model, &yes);
        if (ok) {
            ++converted;
            EXPECT_GT(model.header.numSurfaces, 0) << file;
            TMD3 copy = model;
            EXPECT_TRUE(copy.IsMD3());
        } else {
            EXPECT_TRUE(map.LastError().starts_with("MAX_")) << file << ": " << map.LastError();
        }
        if (file.filename() == "dr_brush_no_transform.map") {
            ASSERT_TRUE(ok);
            EXPECT_EQ(model.header.surfaces[0].numVerts, 24);
        }
        if (file.filename() == "dm17ish.map") {
            // The world's and its two func_groups' patches, all tessellated.
            EXPECT_EQ(map.PatchCount(), 47);
            EXPECT_EQ(map.Meshes().size(), 47u);
        }
        if (file.filename() == "dm3ish.map") {
            EXPECT_GT(map.Polygons().size(), 693u);
        }
    }
    EXPECT_GE(converted, 4);
}
