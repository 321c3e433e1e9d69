// Skin files read and matched to surfaces the way the game's renderer does.
#include <gtest/gtest.h>

#include "assets/skin.h"

namespace {

TEST(Skin, TokensCommentsQuotesAndSlotsAsTheGameReadsThem) {
    const TSkin skin = ParseSkin(
        "Body,\t\"Models/X/Red.tga\"\r\n"
        "//md3_back, \"models/back.md3\"\n"
        "/* legs, l.tga\n still a comment */ arm,a.tga\n"
        "md3_hat,\t\t\"models/players/hat.md3\"\n"
        "tag_weapon, \"a b\", \"c,d.tga\"\n"  // a tag_ token stands alone
        "empty, \"\"\n"
        "body, second.tga");
    const struct {
        const char* surface;
        const char* path;
        bool slot;
    } expected[] = {{"body", "models/x/red.tga", false},
                    {"arm", "a.tga", false},
                    {"md3_hat", "models/players/hat.md3", true},
                    {"a b", "c,d.tga", false},
                    {"body", "second.tga", false}};
    ASSERT_EQ(skin.size(), std::size(expected));
    for (std::size_t i = 0; i < skin.size(); ++i) {
        EXPECT_EQ(skin[i].surfaceName, expected[i].surface) << i;
        EXPECT_EQ(skin[i].path, expected[i].path) << i;
        EXPECT_EQ(skin[i].modelSlot, expected[i].slot) << i;
    }
    // A comma after a blank starts the path token, so the game reads "," as the path.
    EXPECT_EQ(ParseSkin("arm , x.tga")[0].path, ",");
    // A quoted empty name ends the reading, as an unclosed comment does.
    EXPECT_EQ(ParseSkin("a, x.tga\n\"\", y.tga\nb, z.tga").size(), 1u);
    EXPECT_EQ(ParseSkin("a, x.tga /* b, y.tga").size(), 1u);

    TSkin loaded{{"old", "old", "", false}};
    EXPECT_FALSE(LoadSkin("/nonexistent/x.skin", loaded));
    EXPECT_TRUE(loaded.empty());
}

TEST(Skin, SurfacesAreNamedAsTheGameNamesThem) {
    const TSkin skin = ParseSkin(
        "b6, b6.tga\nbody_2, body2.tga\n_2, short.tga\nu_body, u.tga\n"
        "md3_back, back.md3\n");
    const struct {
        const char* stored;
        TSkinNaming naming;
        const char* path;  // nullptr: no record
    } cases[] = {
        // The vertex-model loader lower-cases and cuts a "_x" ending ("B6_2" is "b6").
        {"B6_2", TSkinNaming::VertexModel, "b6.tga"},
        {"body_2", TSkinNaming::VertexModel, nullptr},
        {"_2", TSkinNaming::VertexModel, "short.tga"},
        {"U_BODY", TSkinNaming::VertexModel, "u.tga"},
        // Skeletal names are compared as stored, with the skin's lower-case names.
        {"u_body", TSkinNaming::Skeletal, "u.tga"},
        {"U_Body", TSkinNaming::Skeletal, nullptr},
        {"body_2", TSkinNaming::Skeletal, "body2.tga"},
        // A model slot is never a surface.
        {"md3_back", TSkinNaming::VertexModel, nullptr},
    };
    for (const auto& c : cases) {
        const TSkinRec* rec = FindSkinRec(skin, c.stored, c.naming);
        ASSERT_EQ(rec != nullptr, c.path != nullptr) << c.stored;
        if (rec != nullptr) {
            EXPECT_EQ(rec->path, c.path) << c.stored;
        }
    }
}

}  // namespace
