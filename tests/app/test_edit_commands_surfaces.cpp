#include "edit_commands_fixture.h"

namespace {

class SurfaceCommands : public EditCommandsTest {
  protected:
    // Four small surfaces whose first shaders are A, B, A, B.
    void LoadAlternatingShaders() {
        TMD3 model;
        MakeModel(model, {.surfaces = 4, .vertsPerSurface = 32, .frames = 2, .tags = 1});
        for (int s = 0; s < 4; ++s)
            model.SetShaderName(s, s % 2 == 0 ? "A" : "B");
        Load(Save(model, "shaders.md3"));
    }
    // Surface 0 with vertex 1 placed 8 stored units (0.125) beside vertex 0, both normals
    // different.
    void LoadNearVertices() {
        TMD3 model;
        MakeModel(model, {.surfaces = 2, .vertsPerSurface = 32, .frames = 1, .tags = 0});
        auto& v = model.header.surfaces[0].vertices;
        v[1] = v[0];
        v[1].x = static_cast<std::int16_t>(v[0].x + 8);
        v[0].normal = EncodeNormal(1.0f, 0.0f, 0.0f);
        v[1].normal = EncodeNormal(0.0f, 1.0f, 0.0f);
        Load(Save(model, "near.md3"));
    }
};

TEST_F(SurfaceCommands, CompactMergesSurfacesOfTheSameShader) {
    LoadAlternatingShaders();
    Run("actionModelMD3SurfacesCompact");
    EXPECT_EQ(window_->StatusText(), "Surfaces compacted: from 4 to 2");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numSurfaces, 2);
    EXPECT_EQ(h.surfaces[0].numVerts, 64);
    EXPECT_EQ(Child<QComboBox>("cbNamesSurfaces")->count(), 2);
    EXPECT_EQ(Child<QLineEdit>("leNumSurfaces")->text(), "2");
    EXPECT_FALSE(window_->Busy());
}

TEST_F(SurfaceCommands, RemoveTakesTheSelectedSurface) {
    LoadAlternatingShaders();
    Child<QComboBox>("cbNamesSurfaces")->setCurrentIndex(2);
    Run("actionModelMD3RemoveSurface");
    EXPECT_EQ(window_->StatusText(), "Surface \"surface2\" removed..");
    const THeader& h = window_->MD3().header;
    ASSERT_EQ(h.numSurfaces, 3);
    EXPECT_EQ(NameFieldText(h.surfaces[2].name), "surface3");
    EXPECT_EQ(ListText("cbNamesSurfaces", 2), "surface3");
    EXPECT_FALSE(window_->Busy());
    // Down to no surfaces: frames and tags stay, and the commands stop there.
    for (int i = 0; i < 3; ++i)
        Run("actionModelMD3RemoveSurface");
    EXPECT_EQ(h.numSurfaces, 0);
    EXPECT_EQ(h.numFrames, 2);
    EXPECT_EQ(h.numTags, 1);
    Run("actionModelMD3RemoveSurface");
    Run("actionModelMD3SurfacesCompact");
    EXPECT_EQ(window_->StatusText(), "");
}

TEST_F(SurfaceCommands, RecalculatedNormalsReplaceBrokenOnes) {
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 32, .frames = 1, .tags = 0});
    for (TMD3Vertex& v : model.header.surfaces[0].vertices)
        v.normal = 0;
    Load(Save(model, "flat.md3"));
    Run("actionModelCalculateNormals");
    EXPECT_EQ(window_->StatusText(), "Normals recalculated");
    // The ring's side faces point away from its axis: never along +Z, which code 0 means.
    EXPECT_NE(Vertex(0, 0).normal, 0);
    EXPECT_NE(Vertex(0, 17).normal, 0);
}

TEST_F(SurfaceCommands, SmoothAveragesCoincidentNormalsOfTheSelectedSurface) {
    LoadNearVertices();
    // 0.125 apart is not coincident for smoothing, so nothing changes at first.
    const std::uint16_t own = Vertex(0, 1).normal;
    Run("menuModelSmoothSurface");
    EXPECT_EQ(window_->StatusText(), "Surface[\"surface0\"] smoothed..");
    EXPECT_EQ(Vertex(0, 1).normal, own);

    // Welding at 0.15 puts them together; then smoothing averages them.
    textAnswers_ = {QString("-0.15")};
    Run("actionModelMD3FixCracksGaps");
    EXPECT_EQ(asked_, QStringList{"Enter max. distance|The maximal distance over which vertices "
                                  "will be weld together|0.15"});
    EXPECT_EQ(window_->StatusText(), "Surface[\"surface0\"] vertices \"welded\"..");
    EXPECT_EQ(Vertex(0, 1).x, Vertex(0, 0).x);
    Run("menuModelSmoothSurface");
    EXPECT_EQ(Vertex(0, 0).normal, Vertex(0, 1).normal);
    EXPECT_EQ(Vertex(0, 0).normal, EncodeNormal(0.70710677f, 0.70710677f, 0.0f));
}

TEST_F(SurfaceCommands, WeldWorksOnTheSelectedSurfaceOnly) {
    LoadNearVertices();
    Child<QComboBox>("cbNamesSurfaces")->setCurrentIndex(1);
    textAnswers_ = {QString("0.15")};
    Run("actionModelMD3FixCracksGaps");
    EXPECT_EQ(window_->StatusText(), "Surface[\"surface1\"] vertices \"welded\"..");
    EXPECT_NE(Vertex(0, 1).x, Vertex(0, 0).x);
    // Cancelling the box, or typing no number, welds nothing and says nothing.
    Child<QComboBox>("cbNamesSurfaces")->setCurrentIndex(0);
    textAnswers_ = {std::nullopt, QString("near")};
    Run("actionModelMD3FixCracksGaps");
    Run("actionModelMD3FixCracksGaps");
    EXPECT_EQ(window_->StatusText(), "");
    EXPECT_NE(Vertex(0, 1).x, Vertex(0, 0).x);
}

}  // namespace
