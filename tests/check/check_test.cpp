#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

const TCheckFinding* Find(const TCheckFindings& findings, const std::string& what,
                          const std::string& where = "") {
    for (const TCheckFinding& f : findings)
        if (f.what.find(what) != std::string::npos && f.where.find(where) != std::string::npos)
            return &f;
    return nullptr;
}

bool HasFinding(const TCheckFindings& findings, const std::string& what,
                const std::string& where = "") {
    return Find(findings, what, where) != nullptr;
}

std::size_t CountOf(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
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
        // The loader refuses the renderer's bounds; the format's counts are only declared.
        TSeverity severity;
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
        {TEngine::ET, renderVerts, verts, 1025, TSeverity::Error},
        {TEngine::IOQ3, renderVerts, verts, 999, TSeverity::Error},
        {TEngine::ETLegacy, renderVerts, verts, 10000, TSeverity::Error},
        {TEngine::ET, renderCorners, [&](TMD3& m, int n) { tris(m, n / 3); }, 6150,
         TSeverity::Error},
        {TEngine::IOQ3, renderCorners, [&](TMD3& m, int n) { tris(m, n / 3); }, 5999,
         TSeverity::Error},
        {TEngine::ET, "surfaces", surfaces, 32, TSeverity::Warning},
        {TEngine::ET, "frames", frames, 1024, TSeverity::Warning},
        {TEngine::IOQ3, "tags per frame", tags, 16, TSeverity::Warning},
        {TEngine::ET, "shaders on a surface", shaders, 256, TSeverity::Warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(LimitsOf(c.engine).name) + " " + c.what);
        TMD3 model = OneSurfaceMD3(3, 1);
        c.set(model, c.limit);
        EXPECT_FALSE(HasFinding(CheckMD3(model, LimitsOf(c.engine)), c.what));
        c.set(model, c.limit + 3);
        const TCheckFindings findings = CheckMD3(model, LimitsOf(c.engine));
        const TCheckFinding* found = Find(findings, c.what);
        ASSERT_NE(found, nullptr);
        EXPECT_GT(found->value, found->limit);
        EXPECT_EQ(found->severity, c.severity);
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

// Every engine refuses a file of another version than its own loader's.
TEST(ModelCheck, WrongVersionsAreErrors) {
    TMD3 md3 = OneSurfaceMD3(3, 1);
    TMDM mdm;
    TMDX mdx;
    const std::pair<std::function<TCheckFindings()>, std::function<void(int)>> kinds[] = {
        {[&] { return CheckMD3(md3, LimitsOf(TEngine::ET)); },
         [&](int v) { md3.header.version = v; }},
        {[&] { return CheckMDM(mdm, LimitsOf(TEngine::ETLegacy)); },
         [&](int v) { mdm.header.version = v; }},
        {[&] { return CheckMDX(mdx, LimitsOf(TEngine::ET)); },
         [&](int v) { mdx.header.version = v; }},
    };
    const int good[] = {15, 3, 2};
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        SCOPED_TRACE(k);
        kinds[k].second(good[k]);
        EXPECT_FALSE(HasFinding(kinds[k].first(), "version"));
        kinds[k].second(good[k] + 1);
        const TCheckFindings findings = kinds[k].first();
        const TCheckFinding* found = Find(findings, "the game reads only");
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->severity, TSeverity::Error);
    }
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
    // A weight's bone indexes the pose's bone array as a tag's does.
    s.vertices.resize(3);
    s.vertices[1].weights = {{127, 1.0f, {}}, {128, 0.0f, {}}};
    s.vertices[2].weights = {{200, 0.5f, {}}, {0, std::nanf(""), {}}};
    model.surfaces.push_back(s);
    TMDMSurface finite;
    finite.vertices.resize(2);
    finite.vertices[1].weights = {{0, 1.0f, {0.0f, INFINITY, 0.0f}}};
    model.surfaces.push_back(finite);
    model.header.version = 3;
    const TCheckFindings et = CheckMDM(model, LimitsOf(TEngine::ET));
    EXPECT_TRUE(HasFinding(et, "vertices on a surface"));
    EXPECT_TRUE(HasFinding(et, "vertices the renderer takes from a surface"));
    EXPECT_TRUE(HasFinding(et, "characters in the surface name"));
    EXPECT_TRUE(HasFinding(et, "bone referenced", "bone reference 1"));
    const TCheckFinding* weightBone = Find(et, "bone of a vertex weight", "surface 0");
    ASSERT_NE(weightBone, nullptr);
    EXPECT_EQ(weightBone->value, 200);  // the furthest, at the first vertex past the skeleton
    EXPECT_NE(weightBone->where.find("vertex 1"), std::string::npos);
    EXPECT_TRUE(HasFinding(et, "not a finite number", "surface 0 \"nnnn"));
    EXPECT_TRUE(HasFinding(et, "not a finite number", "surface 1 \"\" vertex 1"));
    EXPECT_EQ(Find(et, "vertices on a surface")->severity, TSeverity::Warning);
    EXPECT_EQ(Find(et, "vertices the renderer takes")->severity, TSeverity::Error);
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

    const TSkin skin = ParseSkin(
        "Body,models/a.tga\nmd3_hat,models/hat.md3\nlegs,models/l.tga\n//md3_back,x.md3\n");
    const TCheckFindings skinFindings = CheckSkinSurfaces(skin, {"BODY", "head"});
    ASSERT_EQ(skinFindings.size(), 1u);
    EXPECT_NE(skinFindings[0].where.find("\"legs\""), std::string::npos);
    // The game's MD3 loader files "b6_2" as "b6" and compares skins with that.
    TMD3 barrel = OneSurfaceMD3(3, 1);
    std::strcpy(barrel.header.surfaces[0].name, "B6_2");
    EXPECT_TRUE(CheckSkinSurfaces(ParseSkin("b6,x.tga\n"), SurfaceNames(barrel)).empty());
    EXPECT_EQ(CheckSkinSurfaces(ParseSkin("b6_2,x.tga\n"), SurfaceNames(barrel)).size(), 1u);

    // ET writes the 33rd surface line and the 6th "md3_" line past fixed arrays; ET: Legacy
    // ignores lines past its larger bounds.
    const auto lines = [](int surfaces, int models) {
        std::string text;
        for (int i = 0; i < surfaces; ++i)
            text += "s" + std::to_string(i) + ",x.tga\ntag_" + std::to_string(i) + ",\n";
        for (int i = 0; i < models; ++i)
            text += "md3_" + std::to_string(i) + ",m.md3\n";
        return ParseSkin(text);
    };
    const TCheckFindings et = CheckSkinLines(lines(33, 6), LimitsOf(TEngine::ET));
    ASSERT_EQ(et.size(), 2u);
    EXPECT_EQ(et[0].value, 33);
    EXPECT_EQ(et[1].value, 6);
    EXPECT_TRUE(HasErrors(et));
    EXPECT_TRUE(CheckSkinLines(lines(33, 6), LimitsOf(TEngine::ETLegacy)).empty());
    EXPECT_TRUE(CheckSkinLines(lines(32, 5), LimitsOf(TEngine::ET)).empty());

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
    mesh.header.version = kEngineMDMVersion;
    anim.header.version = kEngineMDXVersion;
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
              kExitCheckErrors);
    EXPECT_EQ(CountOf(out.str(), "sq.char: error: "), 3u) << out.str() << err.str();
}

// Errors exit 3, warnings alone 0, an unreadable file 1. A skin is compared with the model
// the game pairs it with by name, beside it on disk or in its archive, and with no other.
TEST(CheckCommand, ExitCodesAndFilesPairedAsTheGamePairsThem) {
    ScratchDir dir;
    TMD3 model = OneSurfaceMD3(0, 0);
    model.header.surfaces[0].numShaders = 0;
    model.header.frames.resize(1);
    ASSERT_TRUE(model.SaveToFile(dir.File("crate.md3")));
    model.header.numSurfaces = 40;  // past a bound ET declares but never enforces
    model.header.surfaces.resize(40, model.header.surfaces[0]);
    ASSERT_TRUE(model.SaveToFile(dir.File("many.md3")));
    const std::string lidSkin = "body,a.tga\nlid,b.tga\n";
    std::ofstream(dir.File("crate_red.skin")) << lidSkin;
    std::ofstream(dir.File("crat_red.skin")) << lidSkin;  // belongs to no model here
    std::ofstream(dir.File("crate.skin")) << lidSkin;     // nor does a skin without a name
    std::ofstream(dir.File("not a model.md3")) << "IDP3";
    std::vector<std::uint8_t> crate = ReadBytes(dir.File("crate.md3"));
    WriteZip(dir.File("models.pk3"),
             {{"models/crate.md3", std::string(crate.begin(), crate.end())},
              {"models/crate_red.skin", lidSkin},
              {"other/crate_blue.skin", lidSkin},  // another folder: no model to pair with
              {"readme.txt", "not checked"}});
    TMDM squareMesh;
    TMDX squareAnim;
    MakeSquarePair(squareMesh, squareAnim);
    squareAnim.header.version = kEngineMDXVersion;
    ASSERT_TRUE(squareAnim.SaveToFile(dir.File("sq.mdx")));
    WriteZip(dir.File("anims.pk3"),
             {{"animations/sq.mdx", FileText(dir.File("sq.mdx"))},
              {"animations/sq.aninc", "idle 0 99 0 20 0 0 0\n"}});  // past the animation
    InstallArchiveReader();

    struct Case {
        std::vector<std::string> files;
        int exitCode;
        std::size_t errorLines;
    };
    const Case cases[] = {
        {{dir.File("crate.md3")}, 0, 0},
        {{dir.File("many.md3")}, 0, 0},
        {{dir.File("crate_red.skin")}, kExitCheckErrors, 1},  // "lid" is not on crate.md3
        {{dir.File("crate_red.skin"), dir.File("crate.md3"), dir.File("many.md3")},
         kExitCheckErrors,
         1},
        {{dir.File("crat_red.skin"), dir.File("crate.skin"), dir.File("crate.md3")}, 0, 0},
        {{dir.File("crate.md3"), dir.File("missing.md3")}, 1, 0},
        {{dir.File("models.pk3")}, kExitCheckErrors, 1},
        {{dir.File("models.pk3:models/crate_red.skin")}, kExitCheckErrors, 1},
        {{dir.File("models.pk3:other/crate_blue.skin")}, 0, 0},
        {{dir.File("missing.pk3")}, 1, 0},
        {{dir.File("anims.pk3:animations/sq.aninc")}, kExitCheckErrors, 1},
        {{dir.File("anims.pk3")}, kExitCheckErrors, 1},  // the .mdx leaves it to the .aninc
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCheck({c.files, "et", false, ""}, out, err), c.exitCode)
            << c.files.front() << "\n"
            << out.str() << err.str();
        EXPECT_EQ(CountOf(out.str(), ": error: "), c.errorLines) << out.str();
    }

    std::ostringstream out, err;
    RunCheck(
        {{dir.File("models.pk3:models/crate_red.skin"), dir.File("many.md3")}, "et", false, ""},
        out, err);
    EXPECT_EQ(out.str(), dir.File("models.pk3:models/crate_red.skin") +
                             ": error: crate.md3: skin entry 1 \"lid\": skin names a surface "
                             "the model lacks\n" +
                             dir.File("many.md3") + ": warning: surfaces 40 (limit 32)\n");
    // Scripts get a document whatever happens, and every error line names its file.
    for (const char* file : {"missing.md3", "not a model.md3", "missing.pk3"}) {
        std::ostringstream json, errors;
        EXPECT_EQ(RunCheck({{dir.File(file)}, "et", true, ""}, json, errors), 1);
        EXPECT_EQ(
            json.str().rfind(
                "{\"engine\":\"et\",\"files\":[{\"file\":\"" + dir.File(file) + "\",\"error\":", 0),
            0u)
            << json.str();
        const std::string tail = "}],\"errors\":0,\"warnings\":0,\"unreadable\":1}\n";
        ASSERT_GT(json.str().size(), tail.size());
        EXPECT_EQ(json.str().substr(json.str().size() - tail.size()), tail);
        EXPECT_NE(errors.str().find(dir.File(file)), std::string::npos) << errors.str();
    }
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
    EXPECT_EQ(RunCheck({{dir.File("s.shader")}, "et", false, dir.path().string()}, out, err),
              kExitCheckErrors);
    EXPECT_EQ(out.str(), dir.File("s.shader") +
                             ": error: shader \"s2\": image found nowhere in the game: "
                             "textures/x/missing.tga\n");
    // A script inside an archive is looked up the same way.
    WriteZip(dir.File("mod.pk3"), {{"scripts/s.shader", FileText(dir.File("s.shader"))}});
    std::ostringstream inArchive, errors;
    EXPECT_EQ(
        RunCheck({{dir.File("mod.pk3")}, "et", false, dir.path().string()}, inArchive, errors),
        kExitCheckErrors);
    EXPECT_EQ(CountOf(inArchive.str(), "image found nowhere in the game"), 1u) << inArchive.str();
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
        {md3 + "secretdocs.md3", "surfaces"},  // 38: a warning, the game loads it
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
        EXPECT_EQ(HasErrors(checks[0].findings),
                  c.file != md3 + "secretdocs.md3" && !c.what.empty())
            << c.file;
    }
}

}  // namespace
