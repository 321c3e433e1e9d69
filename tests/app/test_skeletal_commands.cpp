// The skeletal family in the main window: loading a pair and its parts through the dialogs,
// the animation list, playback, export to MD3, "Save As" of the pair and the edits. Dialogs
// are answered in order from the test's lists.
#include <QLabel>
#include <QProgressDialog>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <fstream>

#include "edit_commands_fixture.h"
#include "io/user_prompts.h"
#include "support/skeletal_square.h"

namespace {

class SkeletalCommands : public EditCommandsTest {
  protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        TUserPrompts& p = window_->Prompts();
        p.openFile = [this](const QString& title, const QStringList& filters, int& index) {
            openTitles_ << title;
            offeredFilters_ = filters;
            busyCursorOverDialog_ |= QApplication::overrideCursor() != nullptr;
            index = answerFilterIndex_;
            return Next(opens_);
        };
        p.saveFile = [this](const QString& title, const QString& filter, const QString& suffix) {
            saveTitles_ << title + "|" + filter + "|" + suffix;
            return Next(saves_);
        };
        p.askYesNo = [this](const QString& caption, const QString& text) {
            asked_ << caption + "|" + text;
            return answerYesNo_;
        };
    }

    static QString Next(std::deque<QString>& answers) {
        if (answers.empty()) return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The engineer's body with the game's body animation and its list beside it.
    void CopySamples() {
        namespace fs = std::filesystem;
        fs::copy(testing_support::SampleDir("mdm") / "allied_engineer_body.mdm", dir_.path());
        fs::copy(testing_support::SampleDir("mdx") / "body.mdx", dir_.path());
        fs::copy(testing_support::SampleDir("aninc") / "body.aninc", dir_.path());
        mdmFile_ = QString::fromStdString(dir_.File("allied_engineer_body.mdm"));
        mdxFile_ = QString::fromStdString(dir_.File("body.mdx"));
    }

    // A square pair written to name.mdm and name.mdx.
    void WriteSquare(const std::string& name, const testing_support::SquarePairShape& shape = {},
                     int weightBone = 0) {
        TMDM mesh;
        TMDX anim;
        testing_support::MakeSquarePair(mesh, anim, shape);
        mesh.surfaces[0].vertices[0].weights[0].boneIndex = weightBone;
        ASSERT_TRUE(mesh.SaveToFile(dir_.File(name + ".mdm")));
        ASSERT_TRUE(anim.SaveToFile(dir_.File(name + ".mdx")));
    }
    QString File(const std::string& name) { return QString::fromStdString(dir_.File(name)); }

    void LoadPair(const QString& mdm, const QString& mdx) {
        opens_ = {mdm, mdx};
        Run("actionFileLoadMDMMDX");
    }

    std::string Status() { return window_->StatusText().toStdString(); }

    int BonesListed() {
        int n = 0;
        for (QTreeWidgetItemIterator it(Child<QTreeWidget>("tvBones")); *it != nullptr; ++it)
            ++n;
        return n;
    }

    std::deque<QString> opens_, saves_;
    QStringList saveTitles_;
    TAnswer answerYesNo_ = TAnswer::Yes;
    QString mdmFile_, mdxFile_;
};

TEST_F(SkeletalCommands, LoadPickPlayExportAndSaveThePair) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    ShowAndWait();
    CopySamples();
    LoadPair(mdmFile_, mdxFile_);
    ASSERT_EQ(window_->StatusText(), "MDM/MDX loaded");
    EXPECT_EQ(openTitles_, (QStringList{"Select a playermodel to load",
                                        "Select a playermodel-animation to load"}));
    EXPECT_EQ(offeredFilters_, QStringList{"ET playermodel  animation (.MDX) (*.MDX *.mdx)"});
    EXPECT_FALSE(busyCursorOverDialog_);
    EXPECT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    EXPECT_EQ(ModelCaption(), "allied_engineer_body.mdm");
    EXPECT_EQ(Action("actionFileSaveAs")->toolTip(), "Save as MDM/MDX");
    auto* tabs = Child<QTabWidget>("pcTabs");
    QStringList visible;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i)) visible << tabs->tabText(i);
    EXPECT_EQ(visible, (QStringList{"Surfaces", "Bones", "View"}));
    EXPECT_EQ(BonesListed(), 53);
    EXPECT_EQ(Child<QTreeWidget>("tvBones")->topLevelItemCount(), 1);
    EXPECT_EQ(Child<QComboBox>("cbTagPivots")->count(), 18);  // 17 tags and "origin"
    EXPECT_EQ(ListText("cbNamesSurfaces", 2), "l_legs");
    EXPECT_EQ(Child<QLineEdit>("leNumVerts")->text(), "305");
    EXPECT_EQ(Child<QLabel>("tLODpresence")->text(), "present");
    EXPECT_TRUE(Action("actionModelMDMMDXframesToMD3")->isEnabled());
    EXPECT_FALSE(Action("actionModelMD3FlipX")->isEnabled());

    // An animation of the list sets the range and the rate.
    auto* names = Child<QComboBox>("cbAnimName");
    ASSERT_EQ(names->count(), 194);
    const int walk = names->findText("relaxed_walk_2h_1");  // 1314, 21 frames, 22 fps
    ASSERT_GE(walk, 0);
    names->setCurrentIndex(walk);
    emit names->activated(walk);
    auto* start = Child<QSlider>("tbStartFrame");
    auto* end = Child<QSlider>("tbEndFrame");
    EXPECT_EQ(start->value(), 1314);
    EXPECT_EQ(end->value(), 1334);
    EXPECT_EQ(Child<QLineEdit>("eFPS")->text(), "22");
    EXPECT_EQ(window_->CurrentFrame(), 1314);
    // Playing runs through the range and the view draws the frames.
    int drawn = 0;
    QObject::connect(window_.get(), &TMainWindow::frameDrawn, [&drawn] { ++drawn; });
    QTest::qWait(300);
    EXPECT_GT(window_->CurrentFrame(), start->value());
    EXPECT_LE(window_->CurrentFrame(), end->value());
    EXPECT_GT(drawn, 0);
    SaveWindowPicture("skeletal_walk");

    // Export the range to MD3: asked first, then saved. Both questions come before the
    // bake's progress dialog, which would open over them and block them.
    answerQuestion_ = TAnswer::Yes;
    saves_ = {File("baked.md3")};
    qsizetype progressDuringQuestions = 0;
    const auto countProgress = [&] {
        progressDuringQuestions += window_->findChildren<QProgressDialog*>().size();
    };
    TUserPrompts& p = window_->Prompts();
    p.askYesNoCancel = [&, ask = p.askYesNoCancel](const QString& caption, const QString& text) {
        countProgress();
        return ask(caption, text);
    };
    p.saveFile = [&, save = p.saveFile](const QString& title, const QString& filter,
                                        const QString& suffix) {
        countProgress();
        return save(title, filter, suffix);
    };
    const int first = start->value(), last = end->value();
    Run("actionModelMDMMDXframesToMD3");
    EXPECT_EQ(progressDuringQuestions, 0);
    EXPECT_EQ(asked_.last(), QString("Confirmation|Are You sure You want to export the selected "
                                     "frames-range to MD3?.. Frames:%1 to %2")
                                 .arg(first)
                                 .arg(last));
    EXPECT_EQ(window_->StatusText(), QString("Frames:%1 to %2 exported to file: %3")
                                         .arg(first)
                                         .arg(last)
                                         .arg(File("baked.md3")));
    EXPECT_EQ(ModelCaption(), "allied_engineer_body.mdm") << "the exported file is not loaded";
    TMD3 baked;
    ASSERT_TRUE(baked.LoadFromFile(dir_.File("baked.md3")));
    EXPECT_EQ(baked.header.numFrames, last - first + 1);
    EXPECT_EQ(baked.header.numTags, 17);
    // Declining exports nothing and says nothing.
    answerQuestion_ = TAnswer::No;
    Run("actionModelMDMMDXframesToMD3");
    EXPECT_EQ(window_->StatusText(), "");

    // "Save As" writes the mesh and then the animation; both read back as they came,
    // except the mesh's in-memory shader indexes (none yet: -1).
    saves_ = {File("out.mdm"), File("out.mdx")};
    Run("actionFileSaveAs");
    EXPECT_EQ(window_->StatusText(), "Model saved to file(s): out.mdm & out.mdx");
    EXPECT_EQ(saveTitles_.mid(1),
              (QStringList{"Save a playermodel|ET playermodel (.MDM) (*.MDM *.mdm)|mdm",
                           "Save a playermodel animation|ET playermodel animation (.MDX) "
                           "(*.MDX *.mdx)|mdx"}));
    EXPECT_EQ(testing_support::ReadBytes(dir_.File("out.mdx")),
              testing_support::ReadBytes(mdxFile_.toStdString()));
    auto original = testing_support::ReadBytes(mdmFile_.toStdString());
    TMDM mesh;
    AnswerYesPrompts yes;
    ASSERT_TRUE(mesh.LoadFromFile(mdmFile_.toStdString(), yes));
    std::size_t at = static_cast<std::size_t>(mesh.header.ofsSurfaces);
    for (const TMDMSurface& s : mesh.surfaces) {
        const std::int32_t none = -1;
        std::memcpy(original.data() + at + 132, &none, 4);
        at += static_cast<std::size_t>(s.ofsEnd);
    }
    EXPECT_EQ(testing_support::ReadBytes(dir_.File("out.mdm")), original);
    // Cancelling the animation's dialog leaves the mesh written and says so.
    saves_ = {File("only.mdm")};
    Run("actionFileSaveAs");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("only.mdm")));
    EXPECT_EQ(window_->StatusText().toStdString(),
              "Model saved to file(s): only.mdm; animation not saved: the second dialog was "
              "cancelled");
    EXPECT_FALSE(window_->Busy());
}

TEST_F(SkeletalCommands, DroppedPairLoadsAndCancelledDialogsKeepIt) {
    ShowAndWait();
    WriteSquare("square");
    // The animation may come first.
    window_->HandleDroppedFiles({File("square.mdx"), File("square.mdm")});
    ASSERT_EQ(window_->StatusText(), "MDM/MDX loaded");
    EXPECT_TRUE(openTitles_.isEmpty()) << "dropped files need no dialog";
    EXPECT_EQ(ModelCaption(), "square.mdm");
    EXPECT_EQ(window_->MDX().frames.size(), 3u);
    EXPECT_TRUE(Child<QGroupBox>("gbAnimationControls")->isEnabled());

    // Cancelling the second dialog of the pair, or a part's dialog, keeps everything.
    window_->MDM().surfaces[0].vertices[0].weights[0].boneWeight = 0.5f;  // not yet saved
    for (const char* command : {"actionFileLoadMDMMDX", "actionFileLoadMDX",
                                "actionFileLoadMDXbones", "actionFileLoadMDMtags"}) {
        if (command == std::string("actionFileLoadMDMMDX")) opens_ = {File("square.mdm")};
        Run(command);
        EXPECT_EQ(window_->ModelKind(), kModelKindMDMMDX) << command;
        EXPECT_EQ(window_->MDM().surfaces[0].vertices[0].weights[0].boneWeight, 0.5f);
        EXPECT_EQ(Status(), "MDM/MDX loaded") << command;
    }
    EXPECT_FALSE(busyCursorOverDialog_);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SkeletalCommands, RefusedFilesSayWhyAndPartsKeepTheModel) {
    ShowAndWait();
    WriteSquare("square");
    WriteSquare("far", {}, 3);  // a weight on bone 3 of a two-bone animation
    LoadPair(File("far.mdm"), File("far.mdx"));
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    EXPECT_EQ(Status(),
              "MDM/MDX not loaded: far.mdx: surface 0 (\"square\"), vertex 0: bone index 3 "
              "outside the animation's 2 bones");

    // A mesh whose weights use both bones; an animation of one bone does not fit it.
    WriteSquare("two", {}, 1);
    WriteSquare("one", {.bones = 1});
    LoadPair(File("two.mdm"), File("two.mdx"));
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    opens_ = {File("square.mdm")};
    Run("actionFileLoadMDMtags");
    EXPECT_EQ(Status(), "MDX tags loaded");
    const std::pair<const char*, const char*> parts[] = {
        {"actionFileLoadMDX",
         "MDX not loaded: one.mdx: surface 0 (\"square\"), vertex 0: bone index 1 outside the "
         "animation's 1 bone"},
        {"actionFileLoadMDXbones", "MDX bones not loaded: one.mdx: the file has 1 bone, "},
        {"actionFileLoadMDXframes", "MDX frames not loaded: one.mdx: the file's frames have "},
    };
    for (const auto& [command, status] : parts) {
        opens_ = {File("one.mdx")};
        Run(command);
        EXPECT_EQ(Status().substr(0, std::string(status).size()), status);
        EXPECT_EQ(window_->MDX().bones.size(), 2u);
        EXPECT_EQ(window_->MDX().frames[0].boneFrames.size(), 2u);
        EXPECT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    }

    // A mesh beyond the game's limits asks; No refuses it with the limit as the reason.
    WriteSquare("many", {.surfaces = 33});
    answerYesNo_ = TAnswer::No;
    LoadPair(File("many.mdm"), File("many.mdx"));
    EXPECT_EQ(asked_.last().toStdString(),
              "Confirmation|MAX_SURFACES limit exceeded: 33 > 32\nContinue loading?..");
    EXPECT_EQ(Status(), "MDM not loaded: many.mdm: MAX_SURFACES limit exceeded: 33 > 32");
    EXPECT_EQ(window_->MDM().surfaces.size(), 1u) << "the refused mesh leaves the loaded one";
    answerYesNo_ = TAnswer::Yes;
    LoadPair(File("many.mdm"), File("many.mdx"));
    EXPECT_EQ(window_->StatusText(), "MDM/MDX loaded");
}

// A character's names come from every file of its group; a name of another file poses the
// mesh with that file, and a file that cannot pose it leaves the pose alone.
TEST_F(SkeletalCommands, CharacterSwitchesToTheAnimationFileOfTheChosenName) {
    namespace fs = std::filesystem;
    ShowAndWait();
    WriteSquare("body", {}, 1);
    WriteSquare("long", {.frames = 7});
    WriteSquare("one", {.bones = 1});
    fs::create_directories(dir_.path() / "models/sq");
    fs::create_directories(dir_.path() / "anims");
    fs::rename(dir_.File("body.mdm"), dir_.File("models/sq/body.mdm"));
    for (const char* name : {"body", "long", "one"})
        fs::rename(dir_.File(std::string(name) + ".mdx"),
                   dir_.File("anims/" + std::string(name) + ".mdx"));
    std::ofstream(dir_.File("anims/sq.anim"))
        << "animgroup {\n animfile \"anims/body.mdx\" {\n  idle 0 3 0 20 0 0 0 0\n }\n"
           " animfile \"anims/long.mdx\" {\n  stretch 2 5 1 15 0 0 0 0\n }\n"
           " animfile \"anims/one.mdx\" {\n  shrug 0 1 0 20 0 0 0 0\n }\n"
           " animfile \"anims/gone.mdx\" {\n  gone 0 1 0 20 0 0 0 0\n }\n}\n";
    std::ofstream(dir_.File("sq.char"))
        << "characterDef { mesh \"models/sq/body.mdm\" animationGroup \"anims/sq.anim\" }\n";
    window_->LoadCharacterFromFile(File("sq.char"));
    ASSERT_EQ(Status(), "Character loaded");
    auto* names = Child<QComboBox>("cbAnimName");
    ASSERT_EQ(names->count(), 4);
    const auto choose = [names](const char* name) {
        const int index = names->findText(name);
        names->setCurrentIndex(index);
        emit names->activated(index);
    };

    choose("stretch");
    EXPECT_EQ(Status(), "Animation file anims/long.mdx loaded");
    EXPECT_EQ(window_->MDX().frames.size(), 7u);
    EXPECT_EQ(names->currentText(), "stretch");
    EXPECT_EQ(Child<QSlider>("tbStartFrame")->value(), 2);
    EXPECT_EQ(Child<QSlider>("tbEndFrame")->value(), 6);
    EXPECT_EQ(Child<QLineEdit>("eFPS")->text(), "15");
    const std::pair<const char*, const char*> refused[] = {
        {"shrug",
         "Animation file anims/one.mdx not loaded: surface 0 (\"square\"), vertex 0: bone index "
         "1 outside the animation's 1 bone"},
        {"gone", "Animation file anims/gone.mdx not loaded: not found"},
    };
    for (const auto& [name, status] : refused) {
        choose(name);
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(window_->MDX().frames.size(), 7u);
        EXPECT_EQ(names->currentIndex(), -1);
    }

    // Undo takes the switch back; the next choice reads its file again.
    Run("actionEditUndo");
    ASSERT_EQ(window_->MDX().frames.size(), 3u);
    choose("stretch");
    EXPECT_EQ(window_->MDX().frames.size(), 7u);
    EXPECT_EQ(Child<QSlider>("tbEndFrame")->value(), 6);
}

TEST_F(SkeletalCommands, GeneralLoaderTakesMeshesAndTheirParts) {
    ShowAndWait();
    WriteSquare("square", {.frames = 5});
    answerFilterIndex_ = 0;  // "All Supported Models": by extension
    opens_ = {File("square.mdm")};
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->StatusText(), "MDM loaded");
    EXPECT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    EXPECT_TRUE(window_->MDX().frames.empty());
    opens_ = {File("square.mdx")};
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->StatusText(), "MDX loaded");
    EXPECT_EQ(window_->MDX().frames.size(), 5u);
    EXPECT_EQ(Child<QSlider>("tbEndFrame")->maximum(), 4);
    answerFilterIndex_ = static_cast<int>(
        offeredFilters_.indexOf("ET Player Animation Bones  (.MDX) (*.MDX *.mdx)"));
    ASSERT_GT(answerFilterIndex_, 0);
    opens_ = {File("square.mdx")};
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->StatusText(), "MDX bones loaded");

    // The parts need the mesh they belong to.
    Run("actionModelClear");
    opens_ = {File("square.mdx")};
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->StatusText(),
              "Not loaded: square.mdx: load the MDM/MDX model it belongs to first");
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
}

TEST_F(SkeletalCommands, EditsOfTheMeshAndTheBones) {
    ShowAndWait();
    WriteSquare("square", {.bones = 53});
    LoadPair(File("square.mdm"), File("square.mdx"));
    TMDM& mesh = window_->MDM();

    textAnswers_ = {QString("0.5")};
    Run("actionModelMDMMDXScaleBones");
    EXPECT_EQ(asked_.last(), "Scaling Factor|Enter the scaling factor|1.0");
    EXPECT_EQ(mesh.surfaces[0].vertices[1].weights[0].boneWeight, 0.5f);

    Run("actionModelMDMMDXRenameBones");
    EXPECT_EQ(NameFieldText(window_->MDX().bones[52].name), "Bip01 R Toe0");
    EXPECT_EQ(Child<QTreeWidget>("tvBones")->topLevelItem(0)->text(0), "Bip01 Pelvis");

    // The square lies flat: a corner of one triangle gets its normal along Z back (at the
    // halved weight).
    TVector3& normal = mesh.surfaces[0].vertices[1].normal;
    normal = {1.0f, 0.0f, 0.0f};
    Run("actionModelCalculateNormals");
    EXPECT_EQ(Status(), "Normals recalculated");
    EXPECT_NEAR(normal.x, 0.0f, 1e-6f);
    EXPECT_NEAR(std::abs(normal.z), 0.5f, 1e-6f);

    Run("menuModelSmoothSurface");
    EXPECT_EQ(window_->StatusText(), "Surface[\"square\"] smoothed..");
    EXPECT_FALSE(window_->Busy());
}

}  // namespace
