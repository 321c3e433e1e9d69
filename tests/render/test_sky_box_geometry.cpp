#include <gtest/gtest.h>

#include "render/render_context_errors.h"
#include "render/sky_box_geometry.h"

TEST(SkyBoxGeometry, QuadsFaceInwardsAndFitInsideTheFarPlane) {
    for (std::size_t q = 0; q < kSkyBoxQuads.size(); ++q) {
        SCOPED_TRACE(q);
        const TSkyQuad& quad = kSkyBoxQuads[q];
        TVector3 p[4];
        for (int i = 0; i < 4; ++i) {
            p[i] = kSkyBoxCorners.at(static_cast<std::size_t>(quad.corners[i].corner));
            // Inside a far clip of 5000 from the camera at the centre, whatever the view.
            EXPECT_LT(VectorLength(p[i]), 5000.0f);
        }
        // Counter-clockwise seen from the camera inside: the winding's normal points at it.
        const TVector3 winding = VectorCross(p[1] - p[0], p[2] - p[0]);
        const TVector3 centre = (p[0] + p[1] + p[2] + p[3]) * 0.25f;
        EXPECT_LT(VectorDot(winding, centre), 0.0f);
        // Planar: the fourth corner lies in the plane of the first three.
        EXPECT_NEAR(VectorDot(winding, p[3] - p[0]), 0.0f, 1.0f);
    }
}

TEST(SkyBoxGeometry, SideFacesMeetAtTheHorizonHalfwayUpTheImage) {
    for (const TSkyQuad& quad : kSkyBoxQuads) {
        if (quad.face == TSkyFace::kTop || quad.face == TSkyFace::kBottom) continue;
        for (const TSkyCornerRef& ref : quad.corners) {
            const float y = kSkyBoxCorners.at(static_cast<std::size_t>(ref.corner)).y;
            // t runs 0 .. 0.5 .. 1 as y runs -h .. 0 .. h.
            EXPECT_FLOAT_EQ(ref.t, 0.5f + 0.5f * y / kSkyBoxHalfHeight);
        }
    }
    EXPECT_FLOAT_EQ(kSkyBoxHalfWidth, 2857.142822f);
    EXPECT_FLOAT_EQ(kSkyBoxHalfHeight, 1428.571411f);
}

TEST(SkyBoxGeometry, FaceNamesFollowTheFaceOrder) {
    const auto names = SkyBoxFaceNames("sky");
    EXPECT_EQ(names[static_cast<std::size_t>(TSkyFace::kLeft)], "skyLeft");
    EXPECT_EQ(names[static_cast<std::size_t>(TSkyFace::kBottom)], "skyBottom");
    EXPECT_EQ(names[static_cast<std::size_t>(TSkyFace::kBack)], "skyBack");
}

TEST(RenderContextErrors, OnlyATextureFailureLetsTheProgramGoOn) {
    for (int code = -7; code <= -1; ++code) {
        const TGLErrorReport report = MakeGLErrorReport(code);
        EXPECT_EQ(report.caption, "OpenGL Error");
        EXPECT_EQ(report.quit, code != kGLErrorTexture) << code;
    }
    EXPECT_EQ(MakeGLErrorReport(-5).message, "The render-context could not be made current.");
    EXPECT_EQ(MakeGLErrorReport(-7).message, "A compiled list could not be created");
    EXPECT_EQ(MakeGLErrorReport(-99).message, "OpenGL Error");
    EXPECT_TRUE(MakeGLErrorReport(-99).quit);
}
