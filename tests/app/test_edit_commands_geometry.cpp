#include <QStatusBar>

#include "app/number_text.h"
#include "edit_commands_fixture.h"

namespace {

using GeometryCommands = EditCommandsTest;

TEST_F(GeometryCommands, RotateAsksForDegreesAndRefreshesThePanels) {
    LoadModel({.surfaces = 1, .vertsPerSurface = 32, .frames = 2, .tags = 2});
    const TMD3Vertex before = Vertex(0, 0);
    ASSERT_EQ(before.x, 640);
    ASSERT_EQ(before.y, 0);
    const QString caption = ModelCaption();
    const QString originBefore = ListText("cbTagOrigins", 1);
    textAnswers_ = {QString("90")};
    Run("actionModelMD3RotateZ");
    EXPECT_EQ(asked_, QStringList{"Enter the degrees of rotation|Z Degrees|"});
    EXPECT_EQ(window_->StatusText(), "The model is rotated around the Z-axis..");
    EXPECT_EQ(Vertex(0, 0).x, 0);
    EXPECT_EQ(Vertex(0, 0).y, -640);
    const THeader& h = window_->MD3().header;
    EXPECT_NEAR(h.tags[0].axis[0].y, -1.0f, 1e-6f);
    EXPECT_NEAR(h.tags[1].origin.y, -1.0f, 1e-6f);
    // The panels show the turned tags, and the caption marks the change.
    EXPECT_NE(ListText("cbTagOrigins", 1), originBefore);
    EXPECT_EQ(ListText("cbTagOrigins", 1), QString::fromStdString(Vector3Text(h.tags[1].origin)));
    EXPECT_EQ(ModelCaption(), caption + "*");
}

TEST_F(GeometryCommands, UnusableAnswersLeaveTheModelAlone) {
    LoadModel({.surfaces = 1, .frames = 1, .tags = 1});
    const TMD3Vertex before = Vertex(0, 0);
    textAnswers_ = {std::nullopt, QString("abc"), QString("1,5"), QString("1")};
    Run("actionModelMD3RotateX");  // cancelled
    Run("actionModelMD3RotateY");  // not a number
    Run("actionModelMD3Scale");    // comma separator
    Run("actionModelMD3Scale");    // factor 1 does nothing
    EXPECT_EQ(asked_.size(), 4);
    EXPECT_EQ(asked_[2], "Enter the scaling factor|Scaling Factor|");
    EXPECT_EQ(window_->StatusText(), "");
    EXPECT_EQ(Vertex(0, 0).x, before.x);
    EXPECT_EQ(Vertex(0, 0).z, before.z);
}

TEST_F(GeometryCommands, ScaleReportsTheTypedFactorAndAnyClamping) {
    LoadModel({.surfaces = 1, .vertsPerSurface = 32, .frames = 1, .tags = 1});
    const float radius = window_->MD3().header.frames[0].radius;
    textAnswers_ = {QString(" 2.0")};
    Run("actionModelMD3Scale");
    EXPECT_EQ(window_->StatusText(), "Model scaled by factor  2.0");
    EXPECT_EQ(Vertex(0, 0).x, 1280);
    EXPECT_FLOAT_EQ(window_->MD3().header.frames[0].radius, 2.0f * radius);
    EXPECT_EQ(ListText("cbRadiusFrames", 0),
              QString::fromStdString(FloatText(window_->MD3().header.frames[0].radius)));

    // 20 x 20 units is far beyond the 16-bit range.
    textAnswers_ = {QString("100")};
    Run("actionModelMD3Scale");
    const QString status = window_->StatusText();
    EXPECT_TRUE(status.startsWith("Model scaled by factor 100 (")) << status.toStdString();
    EXPECT_TRUE(status.endsWith(" coordinates clamped to the 16-bit range)"))
        << status.toStdString();
    EXPECT_EQ(Vertex(0, 0).x, 32767);
}

TEST_F(GeometryCommands, MirrorAndWindingCommands) {
    LoadModel({.surfaces = 2, .vertsPerSurface = 32, .frames = 1, .tags = 1});
    const TMD3Vertex before = Vertex(0, 0);
    const TMD3Triangle triangle = window_->MD3().header.surfaces[0].triangles[0];
    Run("actionModelMD3FlipX");
    EXPECT_EQ(window_->StatusText(), "X-coordinates are flipped..");
    EXPECT_EQ(Vertex(0, 0).x, -before.x);
    Run("actionModelMD3FlipY");
    EXPECT_EQ(window_->StatusText(), "Y-coordinates are mirrored..");
    Run("actionModelMD3FlipZ");
    EXPECT_EQ(window_->StatusText(), "Z-coordinates are mirrored..");
    // Three mirrors reverse the winding three times.
    EXPECT_EQ(window_->MD3().header.surfaces[0].triangles[0].indexes[0], triangle.indexes[2]);
    Run("actionModelMD3FlipWinding");
    EXPECT_EQ(window_->StatusText(), "Triangle windings are reversed..");
    EXPECT_EQ(window_->MD3().header.surfaces[0].triangles[0].indexes[0], triangle.indexes[0]);
    Run("actionModelMD3FlipNormals");
    EXPECT_EQ(window_->StatusText(), "Normals are mirrored..");
}

TEST_F(GeometryCommands, PivotTagBecomesTheOriginOfEveryFrame) {
    LoadModel({.surfaces = 1, .frames = 3, .tags = 2});
    auto* pivots = Child<QComboBox>("cbTagPivots");
    pivots->setCurrentIndex(1);
    Run("actionModelMD3TagAsOrigin");
    EXPECT_EQ(window_->StatusText(), "The position of the tag[\"tag_1\"] is now the new origin..");
    const THeader& h = window_->MD3().header;
    for (int f = 0; f < 3; ++f) {
        const TMD3Tag& tag = h.tags[static_cast<std::size_t>(f * 2 + 1)];
        EXPECT_EQ(tag.origin.x, 0.0f);
        EXPECT_EQ(tag.origin.y, 0.0f);
        EXPECT_EQ(tag.origin.z, 0.0f);
        EXPECT_EQ(tag.axis[0].x, 1.0f);
    }
    EXPECT_EQ(ListText("cbTagOrigins", 3), QString::fromStdString(Vector3Text(h.tags[3].origin)));
    EXPECT_EQ(pivots->currentText(), "origin");
}

TEST_F(GeometryCommands, TagAxisCommandsShowTheirResultInTheTagsTab) {
    LoadModel({.surfaces = 1, .frames = 1, .tags = 1});
    const QString before = ListText("cbTagAxis", 0);
    window_->statusBar()->showMessage("kept");
    Run("menuModelTagsInvertX");
    EXPECT_EQ(window_->MD3().header.tags[0].axis[0].x, -1.0f);
    EXPECT_NE(ListText("cbTagAxis", 0), before);
    Run("menuModelTagsSwapYZ");
    EXPECT_EQ(window_->MD3().header.tags[0].axis[1].z, 1.0f);
    EXPECT_EQ(window_->StatusText(), "kept") << "the tag-axis commands leave the status alone";
}

TEST_F(GeometryCommands, SwappingTextureCoordinatesTwiceRestoresThem) {
    LoadModel({.surfaces = 1, .vertsPerSurface = 32, .frames = 1, .tags = 0});
    const float t = window_->MD3().header.surfaces[0].texCoords[20].t;
    Run("actionModelMD3SwapUVST");
    EXPECT_FLOAT_EQ(window_->MD3().header.surfaces[0].texCoords[20].t, 1.0f - t);
    Run("actionModelMD3SwapUVST");
    EXPECT_FLOAT_EQ(window_->MD3().header.surfaces[0].texCoords[20].t, t);
}

}  // namespace
