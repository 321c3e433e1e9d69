// `veldra-cli info` on every kind of file it can meet, loose and inside archives, and the
// usage errors that exit 2 in every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/run_cli.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "support/zip_fixture.h"

using testing_support::ScratchDir;
using testing_support::WriteZip;

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// One brush box of 64 units, as a map's worldspawn holds it.
std::string BoxMap() {
    auto face = [](const std::string& points) { return points + " wall 0 0 0 1 1 0 0 0\n"; };
    return "{\n\"classname\" \"worldspawn\"\n{\n" + face("( 0 64 64 ) ( 0 0 64 ) ( 0 0 0 )") +
           face("( 64 64 64 ) ( 0 64 64 ) ( 0 64 0 )") +
           face("( 64 0 64 ) ( 64 64 64 ) ( 64 64 0 )") +
           face("( 0 0 64 ) ( 64 0 64 ) ( 64 0 0 )") + face("( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 )") +
           face("( 64 64 0 ) ( 0 64 0 ) ( 0 0 0 )") + "}\n}\n";
}

}  // namespace

TEST(CliInfoKinds, EveryKindLooseAndInsideArchives) {
    ScratchDir dir;
    const std::string skin = "u_body,models/a.tga\ntag_head,\nmd3_hat,models/hat.md3\n";
    const std::string shader =
        "models/crate\n{\n{\nmap models/crate.tga\n}\n{\nmap $lightmap\n}\n}\n";
    const std::string anim =
        "animgroup {\nanimfile \"animations/sq.mdx\" {\nidle 0 10 0 20 0 0 0\n}\n}\n";
    WriteText(dir.File("body_red.skin"), skin);
    WriteText(dir.File("crate.shader"), shader);
    WriteText(dir.File("sq.anim"), anim);
    WriteText(dir.File("box.map"), BoxMap());
    WriteZip(dir.File("mod.pk3"), {{"models/body_red.skin", skin},
                                   {"scripts/crate.shader", shader},
                                   {"animations/sq.aninc", "idle 0 10 0 20 0 0 0\n"},
                                   {"animations/sq.anim", anim}});
    const std::string pk3 = dir.File("mod.pk3");
    struct Case {
        std::string file;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {dir.File("body_red.skin"),
         {"\"format\":\"skin\"",
          "\"surfaces\":1,\"surfaceList\":[{\"name\":\"u_body\","
          "\"shader\":\"models/a.tga\"}]",
          "\"models\":1,\"modelList\":[{\"slot\":\"md3_hat\""}},
        {pk3 + ":models/body_red.skin", {"\"format\":\"skin\"", "\"surfaces\":1"}},
        {pk3 + ":scripts/crate.shader",
         {"\"shaders\":1,\"shaderList\":[{\"name\":\"models/crate\",\"stages\":2,"
          "\"images\":[\"models/crate.tga\"],",
          "{\"line\":7,\"stage\":2,\"text\":\"map $lightmap\",\"support\":\"notApplicable\","
          "\"reason\":\"lightmap\"}",
          "\"summary\":{\"drawn\":1,\"notApplicable\":1,\"notDrawn\":0}}"}},
        {dir.File("sq.anim"),
         {"\"format\":\"anim\"", "\"animationFiles\":1,", "\"name\":\"idle\""}},
        {pk3 + ":animations/sq.aninc", {"\"format\":\"aninc\"", "\"animations\":1,"}},
        {dir.File("box.map"),
         {"\"format\":\"map\"", "\"convertedTo\":\"md3\"", "\"vertices\":24,\"triangles\":12"}},
        {pk3, {"\"format\":\"pk3\"", "\"files\":4,", "{\"extension\":\".aninc\",\"files\":1}"}},
    };
    for (const Case& c : cases) {
        const CliOutcome o = RunCli(dir, "info --json '" + c.file + "'");
        EXPECT_EQ(o.exitCode, 0) << c.file << "\n" << o.err;
        EXPECT_EQ(o.out.rfind("{", 0), 0u) << o.out;
        for (const std::string& piece : c.pieces)
            EXPECT_NE(o.out.find(piece), std::string::npos) << piece << "\n" << o.out;
        // The text form names the file too.
        const std::string text = RunCli(dir, "info '" + c.file + "'").out;
        EXPECT_EQ(text.rfind("File:", 0), 0u) << text;
        EXPECT_NE(text.find(c.file + "\n"), std::string::npos) << text;
    }
    // A single unreadable file still gives scripts a document.
    const CliOutcome missing = RunCli(dir, "info --json " + dir.File("none.skin"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out.rfind("{\"file\":\"" + dir.File("none.skin") + "\",\"error\":", 0), 0u)
        << missing.out;
}

// Several scripts end with one summary over all of them, in text and in JSON, the other files
// named along with them included in the list.
TEST(CliInfoKinds, ShaderScriptsSummedUpTogether) {
    ScratchDir dir;
    WriteText(dir.File("a.shader"), "a\n{\ncull none\n{\nmap a.tga\ntcMod entityTranslate\n}\n}\n");
    WriteText(dir.File("b.shader"), "b\n{\nsurfaceparm trans\n{\nmap b.tga\n}\n}\n");
    WriteText(dir.File("c.skin"), "u_body,models/a.tga\n");
    const std::string files = dir.File("a.shader") + " " + dir.File("b.shader");
    const CliOutcome json = RunCli(dir, "info --json " + files + " " + dir.File("c.skin"));
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"files\":3,\"fileList\":[{\"format\":\"shader\"", 0), 0u)
        << json.out;
    EXPECT_NE(json.out.find("{\"format\":\"skin\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("],\"summary\":{\"drawn\":3,\"notApplicable\":1,\"notDrawn\":1}}\n"),
              std::string::npos)
        << json.out;
    const CliOutcome text = RunCli(dir, "info " + files);
    EXPECT_NE(text.out.find("line 6: \"tcMod entityTranslate\" - not drawn\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Not drawn: tcMod entityTranslate (1 line)\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\nAll scripts: 3 drawn, 1 not applicable to models, 1 not drawn "
                            "(25.0% of the directives that apply to models)\n"),
              std::string::npos)
        << text.out;
}

// Whatever the command, a command line asking for what cannot be made exits 2 and says why.
TEST(CliUsage, UnsupportedOutputsAndRangesExitTwo) {
    ScratchDir dir;
    TMD3 cube;
    MakeCube(cube);
    ASSERT_TRUE(cube.SaveToFile(dir.File("k.md3")));
    WriteText(dir.File("x.mdm"), "MDMW");
    struct Case {
        std::string arguments;
        std::string says;
    };
    const Case cases[] = {
        {"convert " + dir.File("k.md3") + " " + dir.File("x.mdx"), "cannot be written as"},
        {"convert " + dir.File("x.mdm") + " " + dir.File("o.md3"), "bake it with its animation"},
        {"convert " + dir.File("k.md3") + " " + dir.File("o.xyz"), "unsupported output format"},
    };
    for (const Case& c : cases) {
        const CliOutcome o = RunCli(dir, c.arguments);
        EXPECT_EQ(o.exitCode, 2) << c.arguments << "\n" << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.mdx")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.md3")));
}
