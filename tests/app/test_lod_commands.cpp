// The LOD controls of the View tab with a player model, "Calculate LOD", and MDS models
// loaded through the menu, the general loader and a drop.
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

#include "edit_commands_fixture.h"
#include "mds_writer.h"
#include "support/skeletal_square.h"

namespace {

class LodCommands : public EditCommandsTest {
  protected:
    std::string Text(const char* label) { return Child<QLabel>(label)->text().toStdString(); }
    std::string Status() { return window_->StatusText().toStdString(); }
};

TEST_F(LodCommands, PanelFollowsThePairAndCalculateLodFillsIt) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    ShowAndWait();
    const auto samples = testing_support::SampleDir("mdm").parent_path();
    window_->LoadMDMMDXFromFiles(
        QString::fromStdString((samples / "mdm/allied_engineer_body.mdm").string()),
        QString::fromStdString((samples / "mdx/body.mdx").string()));
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    auto* surface = Child<QSpinBox>("seLODSurfaceNr");
    auto* minimum = Child<QSlider>("tbLODMinimum");
    EXPECT_EQ(Text("tLODpresence"), "present");
    EXPECT_EQ(surface->maximum(), 3);
    surface->setValue(1);
    EXPECT_EQ(Text("tLODSurfacename"), "u_lfthand");
    EXPECT_EQ(minimum->maximum(), 145);
    EXPECT_EQ(minimum->toolTip(), "108 of 145 vertices");
    // A drag is one step however many values it passes; a step by key is one too.
    minimum->setSliderDown(true);
    minimum->setValue(130);
    minimum->setValue(125);
    EXPECT_FALSE(Action("actionEditUndo")->isEnabled());
    minimum->setSliderDown(false);
    EXPECT_EQ(Action("actionEditUndo")->text(), "Undo Change LOD Minimum");
    minimum->setValue(120);
    EXPECT_EQ(window_->MDM().surfaces[1].minLod, 120);
    EXPECT_EQ(minimum->toolTip(), "120 of 145 vertices");
    Run("actionEditUndo");
    surface->setValue(1);
    EXPECT_EQ(minimum->value(), 125);
    Run("actionEditUndo");
    surface->setValue(1);
    EXPECT_EQ(window_->MDM().surfaces[1].minLod, 108);
    EXPECT_EQ(minimum->value(), 108);
    Run("actionEditRedo");
    Run("actionEditRedo");
    surface->setValue(1);
    EXPECT_EQ(minimum->value(), 120);

    Run("actionModelMDMMDXCalculateLOD");
    EXPECT_EQ(Status(), "LOD calculated at frame 4274");
    EXPECT_EQ(Text("tLODpresence"), "calculated");
    EXPECT_EQ(minimum->value(), window_->MDM().surfaces[1].minLod);
    EXPECT_NE(minimum->value(), 120);
    const int calculated = minimum->value();
    // Undo gives the mesh back as it was, the hand-set minimum included, and the panel shows it.
    Run("actionEditUndo");
    EXPECT_EQ(window_->MDM().surfaces[1].minLod, 120);
    EXPECT_EQ(Text("tLODpresence"), "present");
    surface->setValue(1);
    EXPECT_EQ(minimum->value(), 120);
    EXPECT_EQ(Action("actionEditRedo")->text(), "Redo Calculate LOD");
    Run("actionEditRedo");
    surface->setValue(1);
    EXPECT_EQ(minimum->value(), calculated);

    // The preview draws the reduced mesh; a new load turns it off again.
    Child<QCheckBox>("cbLODEnabled")->setChecked(true);
    EXPECT_TRUE(window_->Switches().lodEnabled);
    window_->RedrawView();
    window_->LoadMDMMDXFromFiles(QString::fromStdString((samples / "mdm/naked.mdm").string()),
                                 QString::fromStdString((samples / "mdx/body.mdx").string()));
    EXPECT_FALSE(window_->Switches().lodEnabled);
    EXPECT_EQ(surface->value(), 0);
}

TEST_F(LodCommands, MDSModelsLoadConvertedAndBrokenMapsAreNamed) {
    ShowAndWait();
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {.bones = 3, .tags = 1});
    mesh.surfaces[0].collapseMap = {0, 0, 3, 2};  // a loop, as a broken file may hold
    const std::string model = dir_.File("square.mds");
    ASSERT_TRUE(WriteMDS(AssembleMDS(mesh, anim, 1), model));

    window_->HandleDroppedFiles({QString::fromStdString(model)});
    EXPECT_EQ(Status(), "MDS loaded and converted to MDM/MDX");
    EXPECT_EQ(window_->ModelKind(), kModelKindMDS);
    EXPECT_EQ(window_->MDM().header.numTags, 1u);
    EXPECT_EQ(Text("tLODpresence"), "broken");
    Child<QCheckBox>("cbLODEnabled")->setChecked(true);
    window_->RedrawView();  // draws nothing of the broken surface, and does not hang
    Run("actionModelMDMMDXCalculateLOD");
    EXPECT_EQ(Status(), "LOD calculated at frame 0");  // 3 frames: no frame 3812

    answerOpen_ = QString::fromStdString(model);
    answerFilterIndex_ = 0;
    Run("actionFileLoadAnyFromFile");
    EXPECT_EQ(window_->ModelKind(), kModelKindMDS);
    EXPECT_EQ(Action("actionFileSaveAs")->toolTip(), "Save as MDM/MDX");
    answerOpen_ = QString::fromStdString(dir_.File("missing.mds"));
    Run("actionFileLoadMDS");
    EXPECT_EQ(window_->ModelKind(), kModelKindMDS) << "a failed load keeps the model";
}

}  // namespace
