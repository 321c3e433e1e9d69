// Reading maps into face polygons: the corner search, the polygon order, the face-line
// reader's tolerance of odd lines, brush-primitive faces and patches.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "import/level_map.h"
#include "import/map_face_line.h"
#include "import/map_text.h"
#include "import/map_texture_axes.h"

using namespace map_text;

namespace {

TLevelMap Loaded(const std::string& text) {
    TLevelMap map;
    map.LoadMapText(text, "test");
    return map;
}

TVector3 Corner(const TLevelMap& map, const TMapPolygon& p, int k) {
    return map.Vertices()[static_cast<std::size_t>(p.firstVertex + k)].position;
}

}  // namespace

TEST(MapParse, BoxGivesSixQuadsInTheMapsCoordinatesWoundCounterClockwise) {
    // Off the origin and unequal on every axis, so that a turn or mirror shows.
    const TLevelMap map =
        Loaded(World({Box(16, 8, 4, 64, 32, 24, {"a", "a", "a", "a", "a", "a"})}));
    ASSERT_EQ(map.Polygons().size(), 6u);
    const TVector3 centre{40, 20, 14};
    for (const TMapPolygon& p : map.Polygons()) {
        ASSERT_EQ(p.numVertices, 4);
        EXPECT_EQ(p.textureName, "a");
        for (int k = 0; k < 4; ++k) {
            const TVector3 v = Corner(map, p, k);
            EXPECT_TRUE(v.x == 16 || v.x == 64) << v.x;
            EXPECT_TRUE(v.y == 8 || v.y == 32) << v.y;
            EXPECT_TRUE(v.z == 4 || v.z == 24) << v.z;
            // Normals point out of the brush.
            EXPECT_GT(VectorDot(p.normal, VectorSubtract(v, centre)), 0.0f);
        }
        const TVector3 a = Corner(map, p, 0), b = Corner(map, p, 1), c = Corner(map, p, 2);
        EXPECT_GT(VectorDot(VectorCross(VectorSubtract(b, a), VectorSubtract(c, a)), p.normal),
                  0.0f);
    }
}

TEST(MapParse, MapsThatYieldNoPolygons) {
    const std::string light = "{\n\"classname\" \"light\"\n}\n";
    std::string tabbed = Cube(64, "t");
    for (char& ch : tabbed)
        if (ch == ' ') ch = '\t';
    const char* const cases[] = {"", "{\n}\n", "}\n}\n{\n"};
    for (const char* text : cases)
        EXPECT_TRUE(Loaded(text).Polygons().empty()) << text;
    // A point entity before the world takes nothing from it.
    EXPECT_EQ(Loaded(light + World({Cube(64, "t")})).Polygons().size(), 6u);
    EXPECT_TRUE(Loaded(World({tabbed})).Polygons().empty());
    EXPECT_TRUE(Loaded(World({Cube(64, "t")}) + "garbage").Loaded());
}

TEST(MapParse, OddLinesAndNumbersReadAsTheirDefaults) {
    const TLevelMap plain = Loaded(World({Cube(64, "t")}));
    std::string text = World({Cube(64, "t")});
    // A letter token reads as 0; scales of 0 read as 1; CRLF lines; comments inside brushes.
    text.replace(text.find("( 0 64 64 )"), 11, "( abc 64 64 )");
    text.replace(text.find("0 0 0 1 1"), 9, "0 0 0 0 0");
    text.insert(text.find("( 64 64 64 )"), "// a note\n");
    std::string crlf;
    for (char ch : text)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    const TLevelMap odd = Loaded(crlf);
    ASSERT_EQ(odd.Polygons().size(), plain.Polygons().size());
    for (std::size_t i = 0; i < plain.Vertices().size(); ++i) {
        EXPECT_EQ(odd.Vertices()[i].position, plain.Vertices()[i].position);
        EXPECT_FLOAT_EQ(odd.Vertices()[i].s, plain.Vertices()[i].s);
        EXPECT_FLOAT_EQ(odd.Vertices()[i].t, plain.Vertices()[i].t);
    }
}

TEST(MapParse, FaceLinesOfFifteenToTwentyTokensReadDefaults) {
    const std::string points = "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 )";
    for (const std::string rest :
         {"", " tex", " tex 8", " tex 8 4", " tex 8 4 90", " tex 8 4 90 2"}) {
        TMapFace face;
        ASSERT_TRUE(ReadFaceLine(points + rest, face)) << rest;
        EXPECT_EQ(face.textureName, rest.empty() ? "" : "tex");
        EXPECT_EQ(face.scaleT, 1.0f);
        EXPECT_EQ(face.scaleS, rest.size() > 12 ? 2.0f : 1.0f);
    }
    TMapFace face;
    EXPECT_FALSE(ReadFaceLine("( 0 0 64 ) ( 0 64 64 ) ( 64 64", face));
    EXPECT_FALSE(face.used);
    EXPECT_EQ(SplitMapTokens("  a \"b c\"  'd").size(), 3u);
    EXPECT_EQ(MapNumber("1e3", 0), 1000.0f);
    EXPECT_EQ(MapNumber("nan", 7), 7.0f);
    EXPECT_EQ(MapNumber("1,5", 7), 7.0f);
}

TEST(MapParse, CornersCloserThanTheToleranceCountAsOne) {
    // A slab 0.1 high: the side faces keep only two distinct corners each.
    const TLevelMap map =
        Loaded(World({Box(0, 0, 0, 64, 64, 0.1f, {"a", "a", "a", "a", "a", "a"})}));
    ASSERT_EQ(map.Polygons().size(), 2u);
    EXPECT_EQ(map.Polygons()[0].numVertices, 4);
}

TEST(MapParse, BrushPrimitiveFacesProjectThroughTheirMatrix) {
    std::string brush = "{\nbrushDef\n{\n";
    std::string classic = Cube(64, "tex");
    // The classic cube's face lines with a matrix in place of shift, rotation and scale.
    std::size_t at = 0;
    while ((at = classic.find(" tex 0 0 0 1 1", at)) != std::string::npos) {
        classic.replace(at, 14, " ( ( 0.015625 0 0 ) ( 0 0.015625 0 ) ) tex");
        at += 40;
    }
    brush += classic.substr(2, classic.size() - 4) + "}\n}\n";
    const TLevelMap map = Loaded(World({brush}));
    ASSERT_EQ(map.Polygons().size(), 6u);
    for (const TMapPolygon& p : map.Polygons()) {
        for (int k = 0; k < p.numVertices; ++k) {
            const TMapVertex& v = map.Vertices()[static_cast<std::size_t>(p.firstVertex + k)];
            const float x = v.position.x, y = v.position.y, z = v.position.z;
            if (p.normal.z > 0.5f) {  // top: s along y, t along x
                EXPECT_NEAR(v.s, y / 64, 1e-6) << x << ' ' << y;
                EXPECT_NEAR(v.t, x / 64, 1e-6);
            }
            if (p.normal.x > 0.5f) {  // the +X wall: s along y, t down z
                EXPECT_NEAR(v.s, y / 64, 1e-6);
                EXPECT_NEAR(v.t, -z / 64, 1e-6);
            }
        }
    }
}

TEST(MapParse, EntitiesTheCompilerMergesConvertAndOthersAreReported) {
    const std::string group = "{\n\"classname\" \"func_group\"\n" + Cube(64, "g") + "}\n";
    const std::string door =
        "{\n\"classname\" \"func_door\"\n" + Cube(64, "d") + Cube(32, "d") + "}\n";
    const std::string light = "{\n\"classname\" \"light\"\n}\n";
    const TLevelMap map = Loaded(World({Prism("a", "b", "c")}) + light + group + door);
    EXPECT_EQ(map.Polygons().size(), 5u + 6u);
    EXPECT_EQ(map.SkippedText(),
              "2 brushes of entities the map compiler keeps apart (func_door) left out");
    // Doom 3 brushes are not read, and say so.
    const TLevelMap doom3 = Loaded(
        "Version 2\n{\n\"classname\" \"worldspawn\"\n{\nbrushDef3\n{\n( 0 0 1 -64 ) ( ( "
        "0.03125 0 0 ) ( 0 0.03125 0 ) ) \"textures/a\" 0 0 0\n}\n}\n}\n");
    EXPECT_TRUE(doom3.Polygons().empty());
    EXPECT_EQ(doom3.SkippedText(), "1 Doom 3 brush (brushDef3) not read");
    EXPECT_EQ(Loaded(World({Cube(64, "t")}).substr(0, 60)).SkippedText(),
              "the file ends inside an entity");
}

TEST(MapParse, BrushesOfManyFacesBuild) {
    // A prism of 127 sides and its two caps: more faces than an editor's brush usually has.
    constexpr int kSides = 127;
    std::string prism = "{\n";
    for (int i = 0; i < kSides; ++i) {
        const double a0 = 2 * 3.14159265358979 * i / kSides;
        const double a1 = 2 * 3.14159265358979 * (i + 1) / kSides;
        const float x0 = float(256 * std::cos(a0)), y0 = float(256 * std::sin(a0));
        const float x1 = float(256 * std::cos(a1)), y1 = float(256 * std::sin(a1));
        prism += Face(Point(x0, y0, 64), Point(x1, y1, 64), Point(x1, y1, 0), "s");
    }
    prism += Face(Point(0, 0, 64), Point(0, 64, 64), Point(64, 64, 64), "top");
    prism += Face(Point(64, 64, 0), Point(0, 64, 0), Point(0, 0, 0), "bottom");
    prism += "}\n";
    const TLevelMap map = Loaded(World({prism}));
    EXPECT_EQ(map.Polygons().size(), std::size_t{kSides} + 2);
    EXPECT_EQ(map.SkippedText(), "");
}

TEST(MapParse, EveryPrefixOfAMapLoadsCleanly) {
    const std::string text = World({Cube(64, "t"), Prism("a", "b", "c")});
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const TLevelMap map = Loaded(text.substr(0, n));
        EXPECT_LE(map.Polygons().size(), 11u);
    }
}

TEST(MapParse, MissingFileIsNotLoaded) {
    TLevelMap map;
    EXPECT_FALSE(map.LoadMap("/nonexistent/none.map"));
    EXPECT_FALSE(map.Loaded());
}

TEST(MapParse, TextureAxisTiesBreakAsTheCompilerDoes) {
    // The compiler tries Z, X, Y in turn and moves on only for a lead above 0.0001, so near
    // ties of rounded 45-degree normals go to the earlier axis.
    struct Case {
        TVector3 normal;
        int axis;
    };
    const Case cases[] = {
        {{0.70710677f, 0.70710683f, 0}, 1},                              // between X and Y: X
        {{0.70710683f, 0.70710677f, 0}, 1}, {{0.7071f, 0.7073f, 0}, 2},  // Y clearly ahead
        {{0.70710677f, 0, 0.70710683f}, 3},                              // between X and Z: Z
        {{0.70710683f, 0, 0.70710677f}, 3}, {{0, -0.70710683f, -0.70710677f}, 3}, {{0, 0, -1}, 3},
    };
    for (const Case& c : cases) {
        TMapFace face;
        face.normal = c.normal;
        TextureAxesForFace(face);
        EXPECT_EQ(face.dominantAxis, c.axis)
            << c.normal.x << " " << c.normal.y << " " << c.normal.z;
    }
}
