// Reading maps into face polygons: the corner search, the polygon order, the face-line
// reader's tolerance of odd lines, brush-primitive faces and patches.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "import/level_map.h"
#include "import/map_face_line.h"
#include "import/map_text.h"

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
    // Only the first entity is read.
    EXPECT_TRUE(Loaded(light + World({Cube(64, "t")})).Polygons().empty());
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

TEST(MapParse, PatchesAreCountedAndOversizedBrushesSkipped) {
    const std::string patch =
        "{\npatchDef2\n{\ntex\n( 3 3 0 0 0 )\n(\n( ( 0 0 0 0 0 ) ( 0 0 0 0 0 ) ( 0 0 0 0 0 ) "
        ")\n)\n}\n}\n";
    std::string huge = "{\n";
    for (int i = 0; i <= kMaxBrushFaces; ++i)
        huge += Face(Point(0, 0, float(i)), Point(0, 64, float(i)), Point(64, 64, float(i)), "t");
    huge += "}\n";
    EXPECT_EQ(Loaded(World({patch})).SkippedText(), "1 patch skipped");
    const TLevelMap map = Loaded(World({patch, Cube(64, "t"), patch, patch, huge}));
    EXPECT_EQ(map.Polygons().size(), 6u);
    EXPECT_EQ(map.PatchCount(), 3);
    EXPECT_EQ(map.SkippedText(), "1 brush skipped, 3 patches skipped");
    EXPECT_EQ(Loaded(World({Cube(64, "t")})).SkippedText(), "");
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
