// Character definitions (.char) and animation groups (.anim), and a character found in a game.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/archive_loads.h"
#include "assets/character_files.h"
#include "game_fixture.h"
#include "io/user_prompts.h"
#include "model_factory.h"
#include "skeletal/anim_group.h"
#include "skeletal/character_def.h"
#include "skeletal/mdm.h"

namespace {

using namespace testing_support;

TEST(CharacterDef, TheGamesSoldierAndItsAnimationGroupParse) {
    VELDRA_REQUIRE_SAMPLES("aninc");
    const TCharacterParse soldier =
        LoadCharacterDef((SampleDir("aninc") / "etl_axis_soldier.char").string());
    ASSERT_TRUE(soldier.ok) << soldier.error;
    EXPECT_EQ(soldier.def.mesh, "models/players/temperate/axis/soldier/body.mdm");
    EXPECT_EQ(soldier.def.animationGroup, "animations/human_base.anim");
    EXPECT_EQ(soldier.def.undressedCorpseSkin, "axis_soldier");
    EXPECT_EQ(soldier.def.hudHeadSkin, "models/players/hud/axis_soldier.skin");
    EXPECT_EQ(CharacterSkinPath(soldier.def),
              "models/players/temperate/axis/soldier/body_soldier.skin");

    const TAnimGroupParse group =
        LoadAnimGroup((SampleDir("aninc") / "etl_human_base.anim").string());
    ASSERT_TRUE(group.ok) << group.error;
    ASSERT_EQ(group.files.size(), 10u);
    EXPECT_EQ(group.files[0].mdx, "animations/human/base/body.mdx");
    const TANINCFrame* death = FindAnimation(group.files[0].animations, "death_general");
    ASSERT_NE(death, nullptr);
    EXPECT_EQ(death->firstFrame, 9);
    EXPECT_EQ(death->numFrames, 23);
    EXPECT_EQ(death->framesPerSecond, 22);  // 21.5, rounded
    const TANINCFrame* walk = FindAnimation(group.files[0].animations, "relaxed_walk_1h_1");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->moveSpeed, -1);
    EXPECT_EQ(group.files[9].animations.frames.back().name, "e_swim_1h");
}

TEST(CharacterDef, MalformedFilesAreRefusedWithTheirLine) {
    const std::pair<const char*, const char*> chars[] = {
        {"", "line 1: expected \"characterDef\""},
        {"characterDef\nmesh \"a.mdm\"", "line 1: expected \"{\" after \"characterDef\""},
        {"characterDef {\n mesh \"a.mdm\"\n", "line 2: missing \"}\""},
        {"characterDef {\n mesh \"a.mdm\"\n colour \"red\"\n}", "line 3: unknown key \"colour\""},
        {"characterDef {\n mesh\n skin \"x\" }", "line 2: \"mesh\" has no value"},
        {"characterDef { /* none\n */ skin \"x\" }", "line 2: the definition names no mesh"},
    };
    for (const auto& [text, error] : chars)
        EXPECT_EQ(ParseCharacterDef(text).error, error) << text;
    EXPECT_TRUE(ParseCharacterDef("CHARACTERDEF{MESH a.mdm}").ok);

    const std::pair<const char*, const char*> groups[] = {
        {"animgroup {\n run 0 10 0 20 0 0 0 0\n}",
         "line 2: an animation outside an animfile block"},
        {"animfile \"a.mdx\"\n run 0 1.5 0 20 0 0 0 0", "line 2: \"1.5\" is not a whole number"},
        {"animfile \"a.mdx\"\n run 0 10 0 fast 0 0 0 0", "line 2: \"fast\" is not a number"},
        {"animfile \"a.mdx\"\n run 0 10 0 20 0 0", "line 2: unexpected \"run 0 10 0 20 0 0\""},
        {"animfile \"a.mdx\"\n#include \"a.aninc\"",
         "line 2: the included \"a.aninc\" is not found"},
        {"animgroup { animfile \"a.mdx\" { } }", "line 1: the group holds no animation"},
        {"animgroup {\n animfile\n}", "line 2: unexpected \"animfile\""},
        {"animfile \"a.mdx\"\n{\n}", "line 3: the group holds no animation"},
    };
    for (const auto& [text, error] : groups)
        EXPECT_EQ(ParseAnimGroup(text).error, error) << text;
    // A list that includes itself stops at the game's depth.
    const std::string loop = "animfile \"a.mdx\"\n#include \"loop.aninc\"\n";
    EXPECT_EQ(ParseAnimGroup(loop, [&](const std::string&) { return loop; }).error,
              "\"loop.aninc\" line 2: includes nested deeper than 4 (\"loop.aninc\")");
}

// The game's own groups take each animation file's entries (seven numbers, no priority) from
// its .aninc, included by game path from the folders of an unpacked game.
TEST(CharacterDef, GroupIncludesTheListsOfItsFiles) {
    VELDRA_REQUIRE_SAMPLES("aninc");
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "animations/human/base");
    for (const char* list : {"body.aninc", "mortar.aninc"})
        std::filesystem::copy_file(SampleDir("aninc") / list,
                                   dir.path() / "animations/human/base" / list);
    const std::string text =
        "animgroup\n{\n\tanimfile \"animations/human/base/body.mdx\"\n\t{\n"
        "\t\t#include \"animations/human/base/body.aninc\"\n\t}\n"
        "\tanimfile \"animations/human/base/mortar.mdx\"\n\t{\n"
        "\t\t#include \"animations/human/base/MORTAR.aninc\"\n\t}\n}\n";
    WriteBytes(dir.File("animations/human_base.anim"), {text.begin(), text.end()});
    const TAnimGroupParse group = LoadAnimGroup(dir.File("animations/human_base.anim"));
    ASSERT_TRUE(group.ok) << group.error;
    ASSERT_EQ(group.files.size(), 2u);
    EXPECT_EQ(group.files[0].animations.frames.size(), 194u);
    EXPECT_EQ(group.files[0].animations.frames[0].name, "death_machinegun_1");
    EXPECT_EQ(group.files[1].animations.frames.size(), 3u);
}

TEST(CharacterDef, SkinPathsFollowTheModelName) {
    const struct {
        const char* model;
        const char* skin;
        const char* path;
    } cases[] = {
        {"models/players/temperate/axis/soldier/body.mdm", "soldier",
         "models/players/temperate/axis/soldier/body_soldier.skin"},
        {"models/players/temperate/common/naked.mdm", "axis_soldier",
         "models/players/temperate/common/naked_axis_soldier.skin"},
        {"models/players/temperate/axis/soldier/acc/backpack.md3", "soldier",
         "models/players/temperate/axis/soldier/acc/backpack_soldier.skin"},
        {"models.v2/body", "red", "models.v2/body_red.skin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelSkinPath(c.model, c.skin), c.path) << c.model;
    TCharacterDef naked;
    naked.mesh = cases[1].model;
    naked.skin = "axis_soldier";
    EXPECT_EQ(CharacterSkinPath(naked), cases[1].path);
    naked.skin.clear();
    EXPECT_EQ(CharacterSkinPath(naked), "");
}

// A character in an unpacked tree: the head from the definition, the accessories from the
// body skin's md3_ lines, each with its own skin where there is one. A rank badge is not
// drawn for everyone, and a missing accessory is reported without stopping the rest.
TEST(CharacterAttachments, HeadAndAccessoriesAreFoundOnTheirTags) {
    ScratchDir dir;
    const auto write = [&dir](const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir.path() / name).parent_path());
        WriteBytes(dir.File(name), {text.begin(), text.end()});
    };
    TMD3 cube;
    MakeCube(cube);
    for (const char* model :
         {"models/hud/head.md3", "models/p/acc/pack.md3", "models/p/Helmet.md3"}) {
        write(model, "");
        ASSERT_TRUE(cube.SaveToFile(dir.File(model)));
    }
    write("models/hud/head_red.skin", "h_head, \"x.tga\"\n");
    write("models/p/acc/pack_red.skin", "pack, \"x.tga\"\n");
    write("models/p/naked_red.skin",
          "md3_back,\t\"models/p/acc/pack.md3\"\nmd3_hat, \"models/p/helmet.md3\"\n"
          "md3_rank, \"models/p/helmet.md3\"\nmd3_beltr, \"models/p/gone.md3\"\n"
          "u_body, \"models/p/body.tga\"\n");
    write("characters/red.char",
          "characterDef {\n mesh \"models/p/naked.mdm\"\n skin \"red\"\n"
          " hudhead \"models/hud/head.md3\"\n hudheadskin \"models/hud/head_red.skin\"\n}\n");

    const TCharacterFiles files = FindCharacterFiles(dir.File("characters/red.char"), nullptr);
    ASSERT_EQ(files.attachments.size(), 3u) << MissingCharacterText(files);
    const struct {
        const char* slot;
        const char* tag;
        bool onHead;
        const char* skin;  // file name, or "" for none
    } expected[] = {{"head", "tag_head", false, "head_red.skin"},
                    {"md3_back", "tag_back", false, "pack_red.skin"},
                    {"md3_hat", "tag_mouth", true, ""}};
    for (std::size_t i = 0; i < 3; ++i) {
        const TCharacterAttachment& a = files.attachments[i];
        EXPECT_EQ(a.slot, expected[i].slot);
        EXPECT_EQ(a.tag, expected[i].tag) << a.slot;
        EXPECT_EQ(a.onHead, expected[i].onHead) << a.slot;
        EXPECT_EQ(std::filesystem::path(a.skin).filename().string(), expected[i].skin) << a.slot;
        EXPECT_TRUE(std::filesystem::exists(a.model)) << a.slot;
    }
    EXPECT_EQ(MissingCharacterText(files),
              "mesh \"models/p/naked.mdm\" not found; accessory \"models/p/gone.md3\" not found; "
              "the definition names no animation group");
}

// What a .char names is looked up inside its game tree only, as the game's file system
// would: a leading separator is dropped, ".." and files above the tree are not reached.
TEST(CharacterFiles, NamesStayInsideTheCharactersGameTree) {
    ScratchDir dir;
    const auto write = [&dir](const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir.path() / name).parent_path());
        WriteBytes(dir.File(name), {text.begin(), text.end()});
    };
    write("tree/models/p/body.mdm", "m");
    write("models/above.mdm", "m");
    write("outside.mdm", "m");
    const struct {
        std::string mesh;
        std::string found;  // below the scratch folder; empty: not found
    } cases[] = {
        {"/models/p/body.mdm", "tree/models/p/body.mdm"},
        {"\\Models\\P\\Body.mdm", "tree/models/p/body.mdm"},
        {"../outside.mdm", ""},
        {dir.File("outside.mdm"), ""},
        {"models/above.mdm", ""},
    };
    for (const auto& c : cases) {
        write("tree/characters/a.char", "characterDef { mesh \"" + c.mesh + "\" }");
        const TCharacterFiles files =
            FindCharacterFiles(dir.File("tree/characters/a.char"), nullptr);
        EXPECT_EQ(files.mesh, c.found.empty() ? "" : dir.File(c.found)) << c.mesh;
    }

    for (const auto& [charFile, root] : {std::pair{"x/Characters/a/b.char", "x"},
                                         {"x/ETMAIN/c/d.char", "x/ETMAIN"},
                                         {"x/y/e.char", "x/y"}})
        EXPECT_EQ(CharacterTreeRoot(dir.File(charFile)), dir.path() / root) << charFile;
}

TEST(CharacterDef, AnAnimationNameIsLookedUpInEveryFileOfTheGroup) {
    const TAnimGroupParse group = ParseAnimGroup(
        "animfile \"a.mdx\"\n idle 0 3 0 20 0 0 0 0\n"
        "animfile \"b.mdx\"\n wave 4 2 0 20 0 0 0 0\n idle 9 1 0 20 0 0 0 0\n");
    ASSERT_TRUE(group.ok) << group.error;
    const struct {
        const char* name;
        std::size_t file;
        int firstFrame;  // -1: not found
    } cases[] = {{"idle", 0, 0}, {"wave", 1, 4}, {"WAVE", 1, 4}, {"swim", 0, -1}};
    for (const auto& c : cases) {
        const std::optional<TGroupAnimation> found = FindGroupAnimation(group.files, c.name);
        ASSERT_EQ(found.has_value(), c.firstFrame >= 0) << c.name;
        if (!found) continue;
        EXPECT_EQ(found->file, c.file) << c.name;
        EXPECT_EQ(found->entry->firstFrame, c.firstFrame) << c.name;
    }
}

class CharacterInGame : public GameFixture {};

TEST_F(CharacterInGame, ACharacterInAPakFindsItsMeshSkinAndAnimation) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    const std::string soldier = "models/players/temperate/axis/soldier/";
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(File("cube.md3")));
    const std::string cubeText = FileText(File("cube.md3"));
    Pak("pak0.pk3",
        {{"models/players/hud/head.md3", cubeText},
         {"models/players/hud/axis_soldier.skin", "h_head, \"x.tga\""},
         {soldier + "acc/backpack.md3", cubeText},
         {"models/players/temperate/axis/helmet.md3",
          FileText((SampleDir("md3") / "helmet.md3").string())},
         {"characters/temperate/axis/soldier.char",
          FileText((SampleDir("aninc") / "etl_axis_soldier.char").string())},
         {soldier + "body.mdm", FileText((SampleDir("mdm") / "allied_soldier_body.mdm").string())},
         {soldier + "body_soldier.skin",
          FileText((SampleDir("skin") / "body_soldier.skin").string())},
         {"animations/human_base.anim",
          FileText((SampleDir("aninc") / "etl_human_base.anim").string())},
         {"animations/human/base/body.mdx", FileText((SampleDir("mdx") / "body.mdx").string())}});
    TGameAssets& assets = Assets({});
    ASSERT_TRUE(assets.UseGameFolder(GamePath()).empty());
    const TEntryExtraction charFile = ExtractFromGamePaks(
        assets.Paks(), "characters/temperate/axis/soldier.char", assets.TmpDir());
    ASSERT_TRUE(charFile.ok());

    const TCharacterFiles files = FindCharacterFiles(charFile.path, &assets);
    EXPECT_TRUE(files.missing.empty()) << MissingCharacterText(files);
    ASSERT_TRUE(files.Loadable());
    TMDM mesh;
    AnswerYesPrompts yes;
    EXPECT_TRUE(mesh.LoadFromFile(files.mesh, yes));
    EXPECT_NE(files.skin.find("body_soldier.skin"), std::string::npos);
    EXPECT_NE(FindAnimation(files.animations, "revive"), nullptr);
    // The head, the backpack and the helmet; the rank badge is for ranked players only.
    ASSERT_EQ(files.attachments.size(), 3u);
    EXPECT_EQ(files.attachments[2].slot, "md3_hat");
    TMD3 helmet;
    EXPECT_TRUE(helmet.LoadFromFile(files.attachments[2].model));

    // The same .char on its own: everything it names is reported, nothing is found.
    const std::string alone = Loose("alone/soldier.char", FileText(charFile.path));
    const TCharacterFiles lost = FindCharacterFiles(alone, nullptr);
    EXPECT_FALSE(lost.Loadable());
    EXPECT_EQ(
        MissingCharacterText(lost),
        "mesh \"" + soldier + "body.mdm\" not found; skin \"" + soldier +
            "body_soldier.skin\" not found; head skin \"models/players/hud/axis_soldier.skin\" "
            "not found; head \"models/players/hud/head.md3\" not found; animation group "
            "\"animations/human_base.anim\" not found");
}

}  // namespace
