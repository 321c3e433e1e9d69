// The window pointed at a game folder: models out of its PAKs and out of a map's PK3 through
// the browser, skins and shader lists, and a view that shows the textures.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/pk3_dialog.h"
#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/skeletal_square.h"
#include "support/textured_game.h"
#include "support/zip_fixture.h"

namespace {

using namespace testing_support;

class GameTexturing : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteTexturedGame(dir_.File("game"));
        // The folder picked may be etmain itself: the game is the folder above it.
        answerFolder_ = QString::fromStdString(dir_.File("game/etmain"));
        window_->Prompts().askYesNoCancel = [](const QString&, const QString&) {
            return TAnswer::Yes;
        };
        TdlgPK3& browser = window_->PK3Dialog();
        browser.pickArchive = [this](const QString&, const QString&, const QString&) {
            return pickedArchive_;
        };
        browser.showMessage = [this](const QString& text) { messages_ << text; };
        // Double-clicks the file to choose, as a person would.
        browser.runModal = [this](TdlgPK3& dialog) {
            captions_ << dialog.windowTitle();
            for (const QString& file : filesToPick_) {
                for (QTreeWidgetItem* item :
                     dialog.Tree()->findItems(file, Qt::MatchExactly | Qt::MatchRecursive))
                    emit dialog.Tree()->itemDoubleClicked(item, 0);
            }
            return dialog.result();
        };
    }

    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
    QString Text(const char* field) { return window_->findChild<QLineEdit*>(field)->text(); }

    // How many sampled pixels of the view, drawn without lights, show the colour.
    int PixelsOf(const Rgb& colour) {
        window_->findChild<QCheckBox*>("cbLightingEnabled")->setChecked(false);
        const QImage image = window_->findChild<QOpenGLWidget*>("oglView")->grabFramebuffer();
        int count = 0;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4) {
                const QColor c = image.pixelColor(x, y);
                count += std::abs(c.red() - colour[0]) <= 8 &&
                                 std::abs(c.green() - colour[1]) <= 8 &&
                                 std::abs(c.blue() - colour[2]) <= 8
                             ? 1
                             : 0;
            }
        }
        return count;
    }

    // The pair saved as square.mdm and square.mdx, and their bytes for an archive.
    std::pair<std::string, std::string> SquarePairBytes(TMDM& mesh, TMDX& anim) {
        EXPECT_TRUE(mesh.SaveToFile(dir_.File("square.mdm")));
        EXPECT_TRUE(anim.SaveToFile(dir_.File("square.mdx")));
        return {FileText(dir_.File("square.mdm")), FileText(dir_.File("square.mdx"))};
    }

    // A character in pak1 of the game: the square pair as body.mdm, whose tag takes `tagName`,
    // skin `skin` with the skin file's text, and a one-file group with `entries`; the .char
    // is then dropped on the window.
    void DropSquareCharacter(const char* tagName, const std::string& skin,
                             const std::string& skinText, const std::string& entries) {
        TMDM mesh;
        TMDX anim;
        MakeSquarePair(mesh, anim);
        SetNameField(tagName, mesh.tags[0].name);
        const auto [meshBytes, animBytes] = SquarePairBytes(mesh, anim);
        WriteZip(dir_.File("game/etmain/pak1.pk3"),
                 {{"models/players/square/body.mdm", meshBytes},
                  {"models/players/square/body_" + skin + ".skin", skinText},
                  {"animations/base/square.mdx", animBytes},
                  {"animations/square.anim",
                   "animfile \"animations/base/square.mdx\"\n{\n" + entries + "}\n"}});
        std::ofstream(dir_.File("square.char"))
            << "characterDef {\n mesh \"models/players/square/body.mdm\"\n skin \"" << skin
            << "\"\n animationGroup \"animations/square.anim\"\n}\n";
        ShowAndWait();
        ASSERT_GE(window_->Assets().AddPak(dir_.File("game/etmain/pak1.pk3")), 0);
        window_->HandleDroppedFiles({QString::fromStdString(dir_.File("square.char"))});
    }

    QString pickedArchive_;
    QStringList filesToPick_ = {"cube.md3"};
    QStringList captions_;
};

TEST_F(GameTexturing, ModelFromTheGameIsDrawnWithItsShaderSkinAndShaderList) {
    ShowAndWait();
    EXPECT_EQ(window_->GamePath().toStdString(), dir_.File("game/"));
    EXPECT_EQ(window_->findChild<QComboBox*>("cbPAKsList")->itemText(0), "pak0.pk3");
    ASSERT_TRUE(Action("actionFileLoadfrompk3")->isEnabled());

    Action("actionFileLoadfrompk3")->trigger();
    EXPECT_EQ(captions_.value(0), "Select an MD3-model from the game-PAK (pak0.pk3)");
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->ModelSource(), kModelSourceGame);
    EXPECT_EQ(Text("leName"), "GAME:\\\\models/sample/cube.md3");
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "cube.md3");
    EXPECT_GT(PixelsOf(kGameGreen), 100) << "the shader's image is not drawn";
    EXPECT_EQ(window_->findChild<QComboBox*>("cbShaderFile")->currentText(),
              "GAME:\\\\scripts\\sample.shader");
    EXPECT_EQ(window_->findChild<QLabel*>("lResolution")->text(),
              QString::fromUtf8("Game PAK → Shader script → Texture"));
    EXPECT_EQ(Text("leTextureDimensions"), "8x8");
    auto* preview = window_->findChild<QLabel*>("img3DView");
    EXPECT_EQ(preview->pixmap().toImage().pixelColor(64, 64), QColor(40, 180, 70));
    SaveWindowPicture("game_texturing_green");

    // A skin asking for a .tga that the game holds as .jpg.
    std::ofstream(dir_.File("blue.skin")) << BlueSkinText();
    answerOpen_ = QString::fromStdString(dir_.File("blue.skin"));
    Action("actionFileSelectSkinfromfile")->trigger();
    EXPECT_EQ(window_->StatusText(), "Skin loaded");
    EXPECT_EQ(Text("leSkinFile"), "blue.skin");
    EXPECT_EQ(Text("leSkin"), "textures/sample/blue.tga");
    EXPECT_GT(PixelsOf(kSkinBlue), 100);
    EXPECT_EQ(window_->findChild<QLabel*>("lResolution")->text(),
              QString::fromUtf8("Skin → Game PAK → Image"));

    // Embedded, the skin's choice stays when the skin goes.
    ASSERT_TRUE(Action("actionModelSkinpermanent")->isEnabled());
    Action("actionModelSkinpermanent")->trigger();
    Action("actionSkinClear")->trigger();
    EXPECT_EQ(Text("leSkinFile"), "");
    EXPECT_EQ(NameFieldText(window_->MD3().header.surfaces[0].shaders[0].name),
              "textures/sample/blue.tga");
    EXPECT_TRUE(window_->findChild<QGroupBox*>("gbModel")->title().endsWith("*"));
    EXPECT_GT(PixelsOf(kSkinBlue), 100);

    // A shader name entered on the page, then a shader list that defines it anew.
    auto* shaderName = window_->findChild<QComboBox*>("cbNamesShaders");
    QTest::keyClick(shaderName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(shaderName, "textures/sample/cube");
    QTest::keyClick(shaderName, Qt::Key_Return);
    EXPECT_GT(PixelsOf(kGameGreen), 100);
    std::ofstream(dir_.File("red.shader")) << RedShaderListScript();
    answerOpen_ = QString::fromStdString(dir_.File("red.shader"));
    Action("actionShaderlistAdd")->trigger();
    EXPECT_GT(PixelsOf(kListRed), 100) << "the shader list wins over the game";
    Action("actionShaderlistClear")->trigger();
    EXPECT_GT(PixelsOf(kGameGreen), 100);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(GameTexturing, SurfacesWhoseTexturesAreMissingAreNamed) {
    ShowAndWait();
    auto* statusNote = window_->findChild<QLabel*>("lMissingTextures");
    auto* list = window_->findChild<QListWidget*>("lstMissingTextures");
    ASSERT_NE(statusNote, nullptr);
    ASSERT_NE(list, nullptr);
    const auto lines = [list] {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        return shown;
    };
    // The cube naming a shader that no script defines and no image of the game matches.
    TMD3 cube;
    MakeCube(cube);
    SetName64("textures/sample/gone", cube.header.surfaces[0].shaders[0].name);
    ASSERT_TRUE(cube.SaveToFile(dir_.File("gone.md3")));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("gone.md3")));
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_TRUE(statusNote->isVisible());
    EXPECT_EQ(statusNote->text(), "Textures not found for 1 surface(s): cube");
    EXPECT_EQ(lines(), QStringList{"surface \"cube\": shader \"textures/sample/gone\" is in no "
                                   "script and no image was found: textures/sample/gone, "
                                   "textures/sample/gone.tga, textures/sample/gone.jpg, "
                                   "textures/sample/gone.bmp"});
    auto* tabs = window_->findChild<QTabWidget*>("pcTabs");
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == "Surfaces") tabs->setCurrentIndex(i);
    }
    EXPECT_TRUE(list->isVisible());
    SaveWindowPicture("missing_textures");

    // A shader list defines it, with an image the game lacks as well.
    std::ofstream(dir_.File("gone.shader"))
        << "textures/sample/gone\n{\n\t{\n\t\tmap textures/sample/lost.tga\n\t}\n}\n";
    answerOpen_ = QString::fromStdString(dir_.File("gone.shader"));
    Action("actionShaderlistAdd")->trigger();
    EXPECT_EQ(lines(), QStringList{"surface \"cube\": shader \"textures/sample/gone\", images not "
                                   "found: textures/sample/lost.tga, textures/sample/lost.jpg, "
                                   "textures/sample/lost.bmp"});
    // Renamed, the surface is named anew.
    auto* surfaceName = window_->findChild<QComboBox*>("cbNamesSurfaces");
    emit surfaceName->activated(0);  // chosen in the list, as a user does before renaming
    QTest::keyClick(surfaceName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(surfaceName, "hull");
    QTest::keyClick(surfaceName, Qt::Key_Return);
    EXPECT_EQ(statusNote->text(), "Textures not found for 1 surface(s): hull");
    EXPECT_TRUE(lines().value(0).startsWith("surface \"hull\": "))
        << lines().join('\n').toStdString();

    // Named as the game has it, the surface is textured and nothing is missing.
    auto* shaderName = window_->findChild<QComboBox*>("cbNamesShaders");
    QTest::keyClick(shaderName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(shaderName, "textures/sample/cube");
    QTest::keyClick(shaderName, Qt::Key_Return);
    EXPECT_GT(PixelsOf(kGameGreen), 100);
    EXPECT_FALSE(statusNote->isVisible());
    EXPECT_TRUE(lines().isEmpty());
}

TEST_F(GameTexturing, MapArchivesAndSkinsFromTheGameGoThroughTheBrowser) {
    ShowAndWait();
    // An archive without any model cancels the browser before it shows, and says why.
    WriteZip(dir_.File("sounds.pk3"), {{"sound/a.wav", "RIFF"}});
    pickedArchive_ = QString::fromStdString(dir_.File("sounds.pk3"));
    Action("actionFileLoadfrommappk3")->trigger();
    EXPECT_TRUE(captions_.isEmpty());
    EXPECT_EQ(messages_, QStringList{"Nothing to choose: no .MD3 or .MDC file in sounds.pk3"});
    messages_.clear();
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);

    // A map's script for the cube's shader wins over the game's, with an image of the map.
    WriteZip(dir_.File("map.pk3"),
             {{"Models/Map/cube.md3", CubeModelBytes()},
              {"scripts/map.shader", "textures/sample/cube\n{\n{\nmap textures/map/red\n}\n}\n"},
              {"textures/map/red.tga", OneColourTga(kListRed)}});
    pickedArchive_ = QString::fromStdString(dir_.File("map.pk3"));
    Action("actionFileLoadfrommappk3")->trigger();
    EXPECT_EQ(captions_.value(0), "Select a .PK3");
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->ModelSource(), kModelSourcePk3);
    EXPECT_EQ(Text("leName"), "MAP:\\\\Models/Map/cube.md3");
    EXPECT_GT(PixelsOf(kListRed), 100);

    filesToPick_ = {"cube_blue.skin"};
    Action("actionFileSelectSkinfrompk3")->trigger();
    EXPECT_EQ(captions_.value(1), "Select a skin from the game-PAK (pak0.pk3)");
    EXPECT_EQ(Text("leSkinFile"), "cube_blue.skin");
    EXPECT_GT(PixelsOf(kSkinBlue), 100);

    // A skin dropped on the window or chosen in the general loader, and the next load that
    // forgets it.
    const QString skin = QString::fromStdString(dir_.File("tmp/models/sample/cube_blue.skin"));
    window_->HandleDroppedFiles({skin});
    EXPECT_EQ(window_->StatusText(), "Skin loaded");
    answerOpen_.clear();  // a cancelled dialog that shows the filters offered
    Action("actionFileLoadAnyFromFile")->trigger();
    answerFilterIndex_ =
        static_cast<int>(offeredFilters_.indexOf("Model Skin  (*.skin) (*.skin *.SKIN)"));
    ASSERT_GE(answerFilterIndex_, 0);
    answerOpen_ = skin;
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->StatusText(), "Skin loaded");
    EXPECT_EQ(Text("leName"), "MAP:\\\\Models/Map/cube.md3");
    filesToPick_ = {"cube.md3"};
    Action("actionFileLoadfrompk3")->trigger();
    EXPECT_EQ(Text("leSkinFile"), "");
    EXPECT_GT(PixelsOf(kGameGreen), 100) << "the map's script outlived its model";
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(GameTexturing, PlayerFromTheGameIsDrawnWithItsTextures) {
    // A second PAK with a player mesh naming the cube's shader, and its animation.
    TMDM mesh;
    TMDX anim;
    MakeSquarePair(mesh, anim);
    mesh.SetSurfaceShader(0, "textures/sample/cube");
    const auto [meshBytes, animBytes] = SquarePairBytes(mesh, anim);
    WriteZip(dir_.File("game/etmain/pak1.pk3"),
             {{"models/players/square.mdm", meshBytes},
              {"animations/square.mdx", animBytes},
              {"animations/square.aninc", "idle 0 3 0 10 0 0 0\n"}});
    ShowAndWait();
    ASSERT_GE(window_->Assets().AddPak(dir_.File("game/etmain/pak1.pk3")), 0);
    filesToPick_ = {"square.mdm", "square.mdx"};
    Action("actionFileLoadfromgameMDMMDX")->trigger();
    EXPECT_EQ(captions_, (QStringList{"Select an MDM-model from the game-PAK (pak1.pk3)",
                                      "Select an MDX-animation from the game-PAK (pak1.pk3)"}));
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX) << window_->StatusText().toStdString();
    EXPECT_TRUE(window_->StatusText().startsWith("MDM/MDX loaded"));
    EXPECT_EQ(window_->ModelSource(), kModelSourceGame);
    EXPECT_EQ(Text("leName"), "GAME:\\\\models/players/square.mdm");
    EXPECT_EQ(window_->PK3Dialog().entryFolder, "models/players/");
    EXPECT_EQ(window_->findChild<QComboBox*>("cbAnimName")->count(), 1);
    EXPECT_GT(PixelsOf(kGameGreen), 100);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(GameTexturing, CharacterFromTheGameWearsItsSkinAndNamesItsAnimations) {
    DropSquareCharacter("tag_0", "green", "square,textures/sample/cube\n",
                        " idle 0 3 0 10 0 0 0 0\n wave 1 2 1 12.5 0 0 0 0\n");
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX) << window_->StatusText().toStdString();
    EXPECT_EQ(window_->StatusText(), "Character loaded");
    EXPECT_EQ(window_->findChild<QComboBox*>("cbAnimName")->count(), 2);
    EXPECT_GT(PixelsOf(kGameGreen), 100);
}

// The body skin's backpack is the game's cube, found in pak0 with its own skin of the
// character's skin name: it is drawn blue on the body's tag until the View menu hides it.
TEST_F(GameTexturing, CharacterWearsItsAccessoryInItsOwnSkin) {
    DropSquareCharacter("tag_back", "blue", "md3_back, \"models/sample/cube.md3\"\n",
                        " idle 0 3 0 10 0 0 0 0\n");
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX) << window_->StatusText().toStdString();
    EXPECT_EQ(window_->StatusText(), "Character loaded");
    EXPECT_GT(PixelsOf(kSkinBlue), 100);
    SaveWindowPicture("character_accessory");
    Action("menuViewShowAttachments")->trigger();
    EXPECT_EQ(PixelsOf(kSkinBlue), 0);
}

TEST_F(GameTexturing, PakListIsEditedAndKeptWithTheGamePath) {
    ShowAndWait();
    WriteZip(dir_.File("game/etmain/pak1.pk3"), {{"textures/x/y.tga", OneColourTga(kListRed)}});
    answerOpen_ = QString::fromStdString(dir_.File("game/etmain/pak1.pk3"));
    for (const char* status :
         {"PAK-file added to the list: pak1.pk3", "PAK-file pak1.pk3 already in list"}) {
        window_->findChild<QPushButton*>("bAddGamePAK")->click();
        EXPECT_EQ(window_->StatusText(), status);
    }
    window_->close();
    window_.reset();
    folderCaptions_.clear();
    MakeWindow(dir_.path());
    ShowAndWait();
    EXPECT_TRUE(folderCaptions_.isEmpty()) << "the game path was not kept";
    EXPECT_EQ(window_->GamePath().toStdString(), dir_.File("game/"));
    auto* paks = window_->findChild<QComboBox*>("cbPAKsList");
    ASSERT_EQ(paks->count(), 2);
    paks->setCurrentIndex(0);
    EXPECT_EQ(paks->toolTip().toStdString(), dir_.File("game/etmain/pak0.pk3"));
    window_->findChild<QPushButton*>("bDelGamePAK")->click();
    EXPECT_EQ(window_->StatusText(), "PAK-file deleted from the list: pak0.pk3");
    EXPECT_EQ(paks->itemText(0), "pak1.pk3");
}

// A cancelled or wrong choice keeps the game; another game's base archive takes the place
// of the previous one's, and its folders may be spelled in any letter case.
TEST_F(GameTexturing, SelectGamePathKeepsOrReplacesTheGame) {
    ShowAndWait();
    WriteZip(dir_.File("game/etmain/pak1.pk3"), {{"textures/x/y.tga", OneColourTga(kListRed)}});
    answerOpen_ = QString::fromStdString(dir_.File("game/etmain/pak1.pk3"));
    window_->findChild<QPushButton*>("bAddGamePAK")->click();
    auto* paks = window_->findChild<QComboBox*>("cbPAKsList");
    const auto listed = [&] {
        QStringList names;
        for (int i = 0; i < paks->count(); ++i)
            names << paks->itemText(i);
        return names;
    };
    ASSERT_EQ(listed(), (QStringList{"pak0.pk3", "pak1.pk3"}));

    for (const std::string& wrong : {std::string(), dir_.File("textures")}) {
        answerFolder_ = QString::fromStdString(wrong);
        messages_.clear();
        Action("actionSettingsGamedir")->trigger();
        EXPECT_EQ(window_->GamePath().toStdString(), dir_.File("game/")) << wrong;
        EXPECT_TRUE(Action("actionFileLoadfrompk3")->isEnabled()) << wrong;
        EXPECT_EQ(listed(), (QStringList{"pak0.pk3", "pak1.pk3"})) << wrong;
        EXPECT_EQ(messages_.size(), wrong.empty() ? 0 : 1) << "a wrong folder is said so";
    }

    WriteTexturedGame(dir_.File("other"));
    std::filesystem::rename(dir_.File("other/etmain/pak0.pk3"), dir_.File("other/etmain/Pak0.PK3"));
    std::filesystem::rename(dir_.File("other/etmain"), dir_.File("other/ETMAIN"));
    answerFolder_ = QString::fromStdString(dir_.File("other/ETMAIN"));
    Action("actionSettingsGamedir")->trigger();
    EXPECT_EQ(window_->GamePath().toStdString(), dir_.File("other/"));
    EXPECT_EQ(listed(), (QStringList{"Pak0.PK3", "pak1.pk3"}));
    paks->setCurrentIndex(0);
    EXPECT_EQ(paks->toolTip().toStdString(), dir_.File("other/ETMAIN/Pak0.PK3"));
}

// The PAK list's order is the user's, and the settings keep it.
TEST_F(GameTexturing, PakOrderIsChangedWithTheButtonsAndKept) {
    ShowAndWait();
    WriteZip(dir_.File("game/etmain/pak1.pk3"), {{"textures/x/y.tga", OneColourTga(kListRed)}});
    answerOpen_ = QString::fromStdString(dir_.File("game/etmain/pak1.pk3"));
    window_->findChild<QPushButton*>("bAddGamePAK")->click();
    auto* paks = window_->findChild<QComboBox*>("cbPAKsList");
    auto* up = window_->findChild<QPushButton*>("bUpGamePAK");
    auto* down = window_->findChild<QPushButton*>("bDownGamePAK");
    paks->setCurrentIndex(1);
    EXPECT_TRUE(up->isEnabled());
    EXPECT_FALSE(down->isEnabled());
    up->click();
    EXPECT_EQ(window_->StatusText(), "PAK-file moved to place 1 of 2: pak1.pk3");
    EXPECT_EQ(paks->currentText(), "pak1.pk3") << "the moved PAK stays chosen";
    EXPECT_EQ(paks->itemText(1), "pak0.pk3");
    EXPECT_FALSE(up->isEnabled());
    EXPECT_TRUE(down->isEnabled());

    window_->close();
    window_.reset();
    MakeWindow(dir_.path());
    ShowAndWait();
    paks = window_->findChild<QComboBox*>("cbPAKsList");
    ASSERT_EQ(paks->count(), 2);
    EXPECT_EQ(paks->itemText(0), "pak1.pk3");
    EXPECT_EQ(paks->itemText(1), "pak0.pk3");
    window_->findChild<QPushButton*>("bDownGamePAK")->click();
    EXPECT_EQ(paks->itemText(0), "pak0.pk3");
    EXPECT_EQ(window_->StatusText(), "PAK-file moved to place 2 of 2: pak1.pk3");
}

// A lower level of detail of a model from the game is found in any PAK, an MDC where no MD3
// is, and drawn textured from the game as the model is.
TEST_F(GameTexturing, ALevelOfDetailFromTheGameIsDrawnTextured) {
    WriteZip(dir_.File("game/etmain/pak1.pk3"), {{"models/sample/cube_1.mdc", CubeModelBytes()}});
    ShowAndWait();
    ASSERT_GE(window_->Assets().AddPak(dir_.File("game/etmain/pak1.pk3")), 0);
    Action("actionFileLoadfrompk3")->trigger();
    ASSERT_EQ(window_->StatusText(), "MD3 loaded");
    auto* lod = window_->findChild<QComboBox*>("cbMD3Lod");
    ASSERT_EQ(lod->count(), 2);
    EXPECT_EQ(lod->itemText(1), "1: cube_1.mdc");

    QTest::keyClick(lod, Qt::Key_Down);
    EXPECT_EQ(window_->StatusText().toStdString().rfind("LOD 1 shown: ", 0), 0u)
        << window_->StatusText().toStdString();
    EXPECT_GT(PixelsOf(kGameGreen), 100) << "the level is not drawn with the game's shader";
}

}  // namespace
