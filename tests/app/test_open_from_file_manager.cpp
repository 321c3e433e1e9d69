// `veldra FILE` as a file manager starts it: every kind the desktop entry claims opens on
// its own, in a window that has just started, with or without a game folder.
#include <QTreeWidget>
#include <fstream>

#include "app/pk3_dialog.h"
#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/skeletal_square.h"
#include "support/textured_game.h"
#include "support/zip_fixture.h"

namespace {

using namespace testing_support;

struct OpenCase {
    const char* file;
    bool game;           // the game folder is chosen when the window first shows
    int kind;            // the model kind after the start
    const char* status;  // what the status bar starts with
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.file << (c.game ? " with the game" : "");
}

class OpenFromFileManager : public MainWindowTest, public ::testing::WithParamInterface<OpenCase> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TMDM mesh;
        TMDX anim;
        MakeSquarePair(mesh, anim);
        ASSERT_TRUE(mesh.SaveToFile(dir_.File("square.mdm")));
        ASSERT_TRUE(anim.SaveToFile(dir_.File("square.mdx")));
        TMD3 cube;
        MakeCube(cube);
        ASSERT_TRUE(cube.SaveToFile(dir_.File("cube.md3")));
        ASSERT_TRUE(cube.SaveTagsToFile(dir_.File("cube.tag")));
        std::ofstream(dir_.File("cube_blue.skin")) << BlueSkinText();
        std::ofstream(dir_.File("lonely_default.skin")) << BlueSkinText();
        WriteZip(dir_.File("map.pk3"), {{kCubeEntry, CubeModelBytes()}});
        // The game's player: its mesh, the body animation and a character naming both.
        std::filesystem::create_directories(dir_.File("game/etmain"));
        WriteZip(dir_.File("game/etmain/pak0.pk3"),
                 {{"models/players/square/body.mdm", FileText(dir_.File("square.mdm"))},
                  {"models/players/square/body_plain.skin", "square,textures/sample/cube\n"},
                  {"animations/human/base/body.mdx", FileText(dir_.File("square.mdx"))},
                  {"animations/square.anim",
                   "animfile \"animations/human/base/body.mdx\"\n{\n idle 0 3 0 10 0 0 0 0\n}\n"}});
        std::ofstream(dir_.File("square.char"))
            << "characterDef {\n mesh \"models/players/square/body.mdm\"\n skin \"plain\"\n"
               " animationGroup \"animations/square.anim\"\n}\n";

        TdlgPK3& browser = window_->PK3Dialog();
        browser.runModal = [](TdlgPK3& dialog) {
            for (QTreeWidgetItem* item :
                 dialog.Tree()->findItems("cube.md3", Qt::MatchExactly | Qt::MatchRecursive))
                emit dialog.Tree()->itemDoubleClicked(item, 0);
            return dialog.result();
        };
    }
};

TEST_P(OpenFromFileManager, OpensTheFileAlone) {
    const OpenCase& c = GetParam();
    if (c.game) answerFolder_ = QString::fromStdString(dir_.File("game/etmain"));
    window_->OpenAtStart({QString::fromStdString(dir_.File(c.file))});
    ShowAndWait();
    EXPECT_EQ(window_->ModelKind(), c.kind);
    EXPECT_TRUE(window_->StatusText().startsWith(c.status)) << window_->StatusText().toStdString();
    if (c.kind == kModelKindMDMMDX) {
        // Whatever poses the mesh fits it: every bone it names is there.
        EXPECT_GE(window_->MDX().header.numBones, 1u);
        EXPECT_GE(window_->MDX().header.numFrames, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryClaimedKind, OpenFromFileManager,
    ::testing::Values(
        OpenCase{"cube.md3", false, kModelKindMD3, "MD3 loaded"},
        OpenCase{"square.mdm", false, kModelKindMDMMDX,
                 "MDM loaded in its bind pose: set the game path"},
        OpenCase{"square.mdm", true, kModelKindMDMMDX,
                 "MDM loaded posed by the game's animations/human/base/body.mdx"},
        OpenCase{"square.mdx", true, kModelKindMDMMDX,
                 "MDM/MDX loaded: square.mdx on the game's models/players/square/body.mdm"},
        OpenCase{"square.mdx", false, kModelKindNone,
                 "Not loaded: square.mdx: an animation is shown on its mesh; set the game path"},
        OpenCase{"cube.tag", false, kModelKindMD3, "Tags loaded: cube.tag (1 on a model"},
        OpenCase{"cube_blue.skin", false, kModelKindMD3, "Skin loaded"},
        OpenCase{"lonely_default.skin", false, kModelKindNone,
                 "Not loaded: lonely_default.skin: a skin dresses the model its name names, "
                 "and none lies beside it (lonely.md3, lonely.mdc, lonely.mdm, lonely.mds)"},
        OpenCase{"square.char", true, kModelKindMDMMDX, "Character loaded"},
        OpenCase{"map.pk3", false, kModelKindMD3, "MD3 loaded"}));

}  // namespace
