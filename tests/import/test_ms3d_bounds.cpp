// A few bytes of MilkShape file must not convert into a model of any size: MilkShape keeps
// every triangle in one group, and a file whose groups name more triangles than it holds is
// refused before anything is built.
#include <gtest/gtest.h>

#include "import/ms3d.h"
#include "import_test_util.h"
#include "md3/md3.h"

TEST(MS3DImport, GroupsNamingMoreTrianglesThanTheFileHoldsAreRefused) {
    struct Case {
        std::vector<Ms3dTestGroup> groups;
        std::string refusal;  // empty: converts
    };
    const Case cases[] = {
        {{{"a", {0, 1}}}, ""},
        // Tag groups and indices past the triangles take no corners and do not count.
        {{{"a", {0, 7, 9}}, {"tag_x", {0, 1}}, {"b", {1}}}, ""},
        {{{"a", {0}}, {"b", {0, 1}}},
         "the groups name 3 triangles, but the file holds 2 and each belongs to one group"},
        {{{"a", std::vector<std::uint16_t>(1000, 1)}},
         "the groups name 1000 triangles, but the file holds 2 and each belongs to one group"},
    };
    for (const Case& c : cases) {
        Ms3dBuilder b;
        b.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        b.triangles = {{0, 1, 2}, {0, 2, 1}};
        b.groups = c.groups;
        const std::vector<std::uint8_t> bytes = b.Bytes();
        TMS3D ms3d;
        ASSERT_TRUE(ms3d.LoadMS3DBytes(bytes));
        TMD3 model;
        ScriptedAnswers prompts;
        std::string message;
        EXPECT_EQ(ms3d.ConvertMS3DToMD3(model, prompts, message), c.refusal.empty());
        EXPECT_EQ(message, c.refusal);
        EXPECT_EQ(model.IsEmpty(), !c.refusal.empty());
    }
}
