#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "check/character_check.h"
#include "check/file_check.h"
#include "check/model_check.h"
#include "check/shader_script_check.h"
#include "cli/archives/archive_reader.h"
#include "cli/check_command.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace {

using namespace testing_support;

bool HasFinding(const TCheckFindings& findings, const std::string& what,
                const std::string& where = "") {
    for (const TCheckFinding& f : findings)
        if (f.what == what && f.where.find(where) != std::string::npos) return true;
    return false;
}

TMD3 OneSurfaceMD3(int verts, int triangles) {
    TMD3 model;
    std::memcpy(model.header.ident, kMD3Ident, 4);
    model.header.version = kMD3Version;
    model.header.numFrames = 1;
    model.header.numSurfaces = 1;
    TSurface s;
    std::memcpy(s.ident, kMD3Ident, 4);
    std::strcpy(s.name, "body");
    s.numFrames = 1;
    s.numVerts = verts;
    s.numTriangles = triangles;
    s.numShaders = 1;
    model.header.surfaces.push_back(s);
    return model;
}

// Each engine's bounds sit where its loader refuses: one past the limit gives the finding,
// the limit itself does not.
TEST(ModelCheck, EachMD3LimitIsFoundJustPastIt) {
    struct Case {
        TEngine engine;
        const char* what;
        std::function<void(TMD3&, int)> set;
        int limit;
    };
    const auto verts = [](TMD3& m, int n) { m.header.surfaces[0].numVerts = n; };
    const auto tris = [](TMD3& m, int n) { m.header.surfaces[0].numTriangles = n; };
    const auto surfaces = [](TMD3& m, int n) { m.header.numSurfaces = n; };
    const auto frames = [](TMD3& m, int n) { m.header.numFrames = n; };
    const auto tags = [](TMD3& m, int n) { m.header.numTags = n; };
    const auto shaders = [](TMD3& m, int n) { m.header.surfaces[0].numShaders = n; };
    const char* renderVerts = "vertices the renderer takes from a surface";
    const char* renderCorners = "triangle corners the renderer takes from a surface";
    const Case cases[] = {
        {TEngine::ET, renderVerts, verts, 1025},
        {TEngine::IOQ3, renderVerts, verts, 999},
        {TEngine::ETLegacy, renderVerts, verts, 10000},
        {TEngine::ET, renderCorners, [&](TMD3& m, int n) { tris(m, n / 3); }, 6150},
        {TEngine::IOQ3, renderCorners, [&](TMD3& m, int n) { tris(m, n / 3); }, 5999},
        {TEngine::ET, "surfaces", surfaces, 32},
        {TEngine::ET, "frames", frames, 1024},
        {TEngine::IOQ3, "tags per frame", tags, 16},
        {TEngine::ET, "shaders on a surface", shaders, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(LimitsOf(c.engine).name) + " " + c.what);
        TMD3 model = OneSurfaceMD3(3, 1);
        c.set(model, c.limit);
        EXPECT_FALSE(HasFinding(CheckMD3(model, LimitsOf(c.engine)), c.what));
        c.set(model, c.limit + 3);
        const TCheckFindings findings = CheckMD3(model, LimitsOf(c.engine));
        ASSERT_TRUE(HasFinding(findings, c.what));
        EXPECT_GT(findings.front().value, findings.front().limit);
    }
    // ET: Legacy dropped the MD3 count bounds.
    TMD3 many = OneSurfaceMD3(3, 1);
    many.header.numSurfaces = 40;
    many.header.numTags = 40;
    EXPECT_TRUE(CheckMD3(many, LimitsOf(TEngine::ETLegacy)).empty());
    many.header.numFrames = 0;
    for (TEngine engine : {TEngine::ET, TEngine::ETLegacy, TEngine::IOQ3})
        EXPECT_TRUE(
            HasFinding(CheckMD3(many, LimitsOf(engine)), "no frames: the game refuses the model"));
}

TEST(ModelCheck, SkeletalLimitsCollapseMapsAndNames) {
    TMDM model;
    model.header.numSurfaces = 1;
    TMDMSurface s;
    std::memset(s.name, 'n', sizeof s.name);  // no terminating zero: the game cuts it short
    s.numVerts = 6001;
    s.numTriangles = 10;
    s.collapseMap = {0, 0, 2, 1, 0xFFFFFFFFu, 7};
    s.boneReferences = {3, 128};
    model.surfaces.push_back(s);
    const TCheckFindings et = CheckMDM(model, LimitsOf(TEngine::ET));
    EXPECT_TRUE(HasFinding(et, "vertices on a surface"));
    EXPECT_TRUE(HasFinding(et, "vertices the renderer takes from a surface"));
    EXPECT_TRUE(HasFinding(et, "characters in the surface name"));
    EXPECT_TRUE(HasFinding(et, "bone referenced", "bone reference 1"));
    EXPECT_FALSE(HasFinding(et, "bone referenced", "bone reference 0"));
    EXPECT_TRUE(HasFinding(et, "collapse map entry not below its vertex", "vertex 2"));
    EXPECT_TRUE(HasFinding(et, "collapse map entry not below its vertex", "vertex 5"));
    EXPECT_EQ(std::count_if(et.begin(), et.end(),
                            [](const TCheckFinding& f) {
                                return f.what == "collapse map entry not below its vertex";
                            }),
              2);
    const TCheckFindings ioq3 = CheckMDM(model, LimitsOf(TEngine::IOQ3));
    ASSERT_EQ(ioq3.size(), 1u);
    EXPECT_FALSE(ioq3.front().counted);

    TMDX mdx;
    mdx.header.numBones = 129;
    EXPECT_TRUE(HasFinding(CheckMDX(mdx, LimitsOf(TEngine::ET)), "bones"));
}

TEST(ModelCheck, AnincSkinAndShaderConsistency) {
    TANINC list;
    list.frames = {{"idle", 0, 10}, {"run", 5, 6}, {"bad", -1, 2}};
    const TCheckFindings ranges = CheckAnincRanges(list, 10);
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].value, 10);
    EXPECT_EQ(ranges[0].limit, 9);
    EXPECT_NE(ranges[0].where.find("\"run\""), std::string::npos);

    const TSkin skin = ParseSkin("Body,models/a.tga\nmd3_hat,models/hat.md3\nlegs,models/l.tga\n");
    const TCheckFindings skinFindings = CheckSkinSurfaces(skin, {"BODY", "head"});
    ASSERT_EQ(skinFindings.size(), 1u);
    EXPECT_NE(skinFindings[0].where.find("\"legs\""), std::string::npos);
    // The game cuts a "_x" ending off MD3 surface names before comparing them with skins.
    TMD3 barrel;
    MakeModel(barrel, {});
    SetName64("B6_2", barrel.header.surfaces[0].name);
    EXPECT_TRUE(CheckSkinSurfaces(ParseSkin("b6, x.tga"), SurfaceNames(barrel)).empty());

    const TCheckFindings shaders = CheckShaderScript(
        "// x { }\ngood\n{\n{ map a }\n}\nbusy\n{\n{}{}{}{}{}{}{}{}{}\n}\nopen { {",
        LimitsOf(TEngine::ET));
    ASSERT_EQ(shaders.size(), 2u);
    EXPECT_EQ(shaders[0].what, "stages");
    EXPECT_EQ(shaders[0].value, 9);
    EXPECT_NE(shaders[0].where.find("\"busy\""), std::string::npos);
    EXPECT_EQ(shaders[1].what, "braces left open at the end");
}

// The exit code says clean (0), violations (2) or unreadable (1); a model beside its skin,
// an .mdx beside its .aninc are checked together.
// A character is checked with all it names: an entry past its file's frames, an accessory
// for a tag the mesh lacks, and a skin line for a surface it lacks are each found.
TEST(CharacterCheck, EntriesSkinAndAccessoryTagsAgainstTheMesh) {
    ScratchDir dir;
    const auto write = [&dir](const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir.path() / name).parent_path());
        WriteBytes(dir.File(name), {text.begin(), text.end()});
    };
    TMDM mesh;
    TMDX anim;
    MakeSquarePair(mesh, anim);
    write("models/sq/body.mdm", "");
    write("animations/sq.mdx", "");
    ASSERT_TRUE(mesh.SaveToFile(dir.File("models/sq/body.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir.File("animations/sq.mdx")));
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("models/sq/box.md3")));
    write("models/sq/body_red.skin",
          "md3_back, \"models/sq/box.md3\"\nsquare, \"x.tga\"\nlegs, \"y.tga\"\n");
    write("animations/sq.anim",
          "animfile \"animations/sq.mdx\"\n{\n idle 0 3 0 20 0 0 0\n"
          " run 2 5 0 20 0 0 0\n}\n");
    write("characters/sq.char",
          "characterDef {\n mesh \"models/sq/body.mdm\"\n skin \"red\"\n"
          " animationGroup \"animations/sq.anim\"\n}\n");
    TCheckFindings findings;
    std::string error;
    ASSERT_TRUE(
        CheckCharacter(dir.File("characters/sq.char"), {}, LimitsOf(TEngine::ET), findings, error))
        << error;
    EXPECT_TRUE(HasFinding(findings, "last frame of the animation", "animations/sq.mdx"));
    EXPECT_TRUE(
        HasFinding(findings, "the mesh has no \"tag_back\" to hang it on", "models/sq/box.md3"));
    EXPECT_TRUE(HasFinding(findings, "skin names a surface the model lacks", "\"legs\""));
    EXPECT_EQ(findings.size(), 3u);
    // What a character names may be in archives: veldra-cli leaves it to its archive reader,
    // and a definition inside an archive finds the rest in that archive.
    TCheckArguments arguments;
    arguments.files = {dir.File("characters/sq.CHAR")};
    EXPECT_TRUE(CheckNeedsArchives(arguments));
    std::vector<ZipEntry> entries;
    for (const char* name : {"models/sq/body.mdm", "animations/sq.mdx", "models/sq/box.md3",
                             "models/sq/body_red.skin", "animations/sq.anim", "characters/sq.char"})
        entries.push_back({name, FileText(dir.File(name))});
    WriteZip(dir.File("sq.pk3"), entries);
    InstallArchiveReader();
    std::ostringstream out, err;
    EXPECT_EQ(RunCheck({{dir.File("sq.pk3") + ":characters/sq.char"}, "et", false, ""}, out, err),
              2);
    EXPECT_NE(out.str().find("3 findings"), std::string::npos) << out.str() << err.str();
}

TEST(CheckCommand, ExitCodesAndFilesCheckedTogether) {
    ScratchDir dir;
    TMD3 model = OneSurfaceMD3(3, 1);
    model.header.surfaces[0].numVerts = 0;
    model.header.surfaces[0].numTriangles = 0;
    model.header.surfaces[0].numShaders = 0;
    model.header.frames.resize(1);
    ASSERT_TRUE(model.SaveToFile(dir.File("crate.md3")));
    std::ofstream(dir.File("crate_red.skin")) << "body,a.tga\nlid,b.tga\n";
    std::ofstream(dir.File("clean.skin")) << "x,a.tga\n";

    struct Case {
        std::vector<std::string> files;
        int exitCode;
    };
    const Case cases[] = {
        {{dir.File("crate.md3")}, 0},
        {{dir.File("crate_red.skin")}, 2},  // "lid" is not a surface of crate.md3 beside it
        {{dir.File("crate.md3"), dir.File("missing.md3")}, 1},
        {{dir.File("clean.skin")}, 0},  // no model beside it to compare with
        {{dir.File("models.pk3")}, 2},
        {{dir.File("models.pk3:models/crate.md3")}, 0},
        {{dir.File("missing.pk3")}, 1},
    };
    // An archive stands for every file it holds that can be checked.
    InstallArchiveReader();
    std::vector<std::uint8_t> crate = ReadBytes(dir.File("crate.md3"));
    WriteZip(dir.File("models.pk3"), {{"models/crate.md3", std::string(crate.begin(), crate.end())},
                                      {"scripts/a.shader", "open {"},
                                      {"readme.txt", "not checked"}});
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCheck({c.files, "et", false, ""}, out, err), c.exitCode)
            << out.str() << err.str();
    }
    std::ostringstream out, err;
    RunCheck({{dir.File("crate_red.skin")}, "et", true, ""}, out, err);
    EXPECT_NE(out.str().find("\"where\":\"crate.md3: skin entry 1 \\\"lid\\\"\""),
              std::string::npos)
        << out.str();
}

// With --game, every image a script's stages name must be in the game's etmain folder or
// PAKs, under its own extension or another the game tries.
TEST(CheckCommand, ShaderImagesAreLookedForInTheGame) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "etmain/textures/disk");
    std::ofstream(dir.File("etmain/textures/disk/two.jpg")) << "x";
    WriteZip(dir.File("etmain/pak0.pk3"), {{"textures/a/one.tga", "x"}});
    std::ofstream(dir.File("s.shader"))
        << "s1\n{\n{\nmap textures/a/one.jpg // tga in the PAK\n}\n{\nmap $lightmap\n}\n}\n"
           "s2\n{\n{\nanimMap 5 textures/disk/two.tga textures/x/missing.tga\n}\n}\n";
    InstallArchiveReader();
    std::ostringstream out, err;
    EXPECT_EQ(RunCheck({{dir.File("s.shader")}, "et", false, dir.path().string()}, out, err), 2);
    EXPECT_EQ(out.str(), dir.File("s.shader") +
                             ": 1 finding\n  shader \"s2\": image found nowhere in the game: "
                             "textures/x/missing.tga\n");
}

TEST(CheckCommand, SampleFiles) {
    VELDRA_REQUIRE_SAMPLES("md3");
    const std::string md3 = SampleDir("md3").string() + "/";
    struct Case {
        std::string file;
        std::string what;  // empty: clean
    };
    const Case cases[] = {
        {md3 + "bbout.md3", "vertices the renderer takes from a surface"},
        {md3 + "secretdocs.md3", "surfaces"},
        {md3 + "knife.md3", ""},
        {SampleDir("mdm").string() + "/allied_engineer_body.mdm", ""},
        {SampleDir("mdx").string() + "/body.mdx", ""},
        {SampleDir("shader").string() + "/etl_models_weapons2.shader", ""},
    };
    for (const Case& c : cases) {
        const std::vector<TFileCheck> checks = CheckFiles({c.file}, LimitsOf(TEngine::ET));
        ASSERT_EQ(checks.size(), 1u);
        EXPECT_EQ(checks[0].error, "") << c.file;
        if (c.what.empty())
            EXPECT_TRUE(checks[0].findings.empty()) << c.file;
        else
            EXPECT_TRUE(HasFinding(checks[0].findings, c.what)) << c.file;
    }
}

}  // namespace
