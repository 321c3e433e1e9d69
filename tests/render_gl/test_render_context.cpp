// The render context on an offscreen surface: its default state, projection and the
// window-system questions it asks.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "gl_test_context.h"

namespace {

GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLfloat Float(GLenum name) {
    GLfloat value = 0;
    glGetFloatv(name, &value);
    return value;
}

TMatrix4 Projection() {
    TMatrix4 m;
    glGetFloatv(GL_PROJECTION_MATRIX, m.e);
    return m;
}

}  // namespace

using RenderContext = GLTest;

TEST_F(RenderContext, DefaultStateIsInPlaceWithoutErrors) {
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(Integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(Integer(GL_FRONT_FACE), GL_CCW);
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);

    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_LINEAR);
    EXPECT_FLOAT_EQ(Float(GL_FOG_START), 1000.0f);
    EXPECT_FLOAT_EQ(Float(GL_FOG_END), 5000.0f);
    EXPECT_FLOAT_EQ(Float(GL_FOG_DENSITY), 0.3f);

    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2]);
    EXPECT_FALSE(mask[3]);

    EXPECT_FALSE(glIsEnabled(GL_DITHER));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    GLint genMode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &genMode);
    EXPECT_EQ(genMode, GL_SPHERE_MAP);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
}

TEST_F(RenderContext, PanelOf800By600GetsTheFixedPerspective) {
    ASSERT_TRUE(binding_->SetSize(800, 600));
    ogl_.MakeCurrent();
    ogl_.Resize(800, 600);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);

    // A 53.130102 degree field of view makes cot(fov / 2) = 2.
    const TMatrix4 p = Projection();
    EXPECT_NEAR(p.at(0, 0), 1.5f, 1e-5f);
    EXPECT_NEAR(p.at(1, 1), 2.0f, 1e-5f);
    EXPECT_NEAR(p.at(2, 2), -5001.0f / 4999.0f, 1e-5f);
    EXPECT_NEAR(p.at(2, 3), -1.0f, 1e-6f);
    EXPECT_NEAR(p.at(3, 2), -10000.0f / 4999.0f, 1e-5f);

    EXPECT_DOUBLE_EQ(ogl_.ViewParams().nearClip, 1.0);
    EXPECT_DOUBLE_EQ(ogl_.ViewParams().farClip, 5000.0);
    EXPECT_NEAR(ogl_.ViewParams().fieldOfView, 53.130102, 1e-5);  // single precision
}

TEST_F(RenderContext, ResizeToTheStoredSizeLeavesTheProjectionAlone) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    ogl_.Resize(kWidth, kHeight);
    EXPECT_FLOAT_EQ(Projection().at(1, 1), 1.0f);
    EXPECT_FLOAT_EQ(Projection().at(2, 3), 0.0f);
}

TEST_F(RenderContext, CollapsedPanelKeepsAFiniteProjection) {
    ogl_.Resize(kWidth, 0);
    const TMatrix4 p = Projection();
    for (float v : p.e)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(p.at(0, 0), 2.0f, 1e-5f);  // a square aspect
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderContext, MultitextureIsReadyOnMesa) {
    if (!ogl_.HasExtension("GL_ARB_multitexture")) GTEST_SKIP() << "driver lacks multitexture";
    EXPECT_TRUE(ogl_.Multitexture().Available());
    EXPECT_GE(ogl_.MaxTextureUnits(), 2);
    EXPECT_TRUE(ogl_.SelectTextureUnit(1));
    EXPECT_EQ(Integer(0x84E0 /* GL_ACTIVE_TEXTURE */), 0x84C1 /* GL_TEXTURE1 */);
    EXPECT_FALSE(ogl_.SelectTextureUnit(ogl_.MaxTextureUnits()));
    EXPECT_TRUE(ogl_.SelectTextureUnit(0));
}

TEST_F(RenderContext, BitmapFontsAreBuiltOnFirstUseAndOutlineFontsFailCleanly) {
    ASSERT_EQ(ogl_.Fonts().Count(), 2);
    TGLFont& courier = ogl_.Fonts().Font(0);
    EXPECT_EQ(courier.FaceName(), "Courier New");
    ASSERT_NE(courier.ListBase(), 0u);
    EXPECT_TRUE(glIsList(courier.ListBase() + ('A' - TGLFont::kFirstChar)));

    TGLFont& outline = ogl_.Fonts().Add("Arial", 12, true);
    EXPECT_EQ(outline.ListBase(), 0u);
    EXPECT_TRUE(outline.FaceName().empty());
}

TEST_F(RenderContext, ReleaseForgetsTheContextAndMakeCurrentThenReports) {
    ogl_.Release();
    EXPECT_FALSE(ogl_.IsReady());
    EXPECT_FALSE(binding_->HasContext());
    EXPECT_EQ(ogl_.QueryMaxTextureUnits(), -1);

    ogl_.MakeCurrent();
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].code, -5);
    EXPECT_EQ(reports_[0].message, "The render-context could not be made current.");
    EXPECT_TRUE(reports_[0].quit);
}

class ScriptedExtensions : public GLTest {
    void Script(ScriptedBinding& b) override {
        b.extraExtensions = "GL_XYZ_swap_control_tear";
        b.swapControl = true;
        b.driverSwapInterval = 0;
    }
};

TEST_F(ScriptedExtensions, SubstringCountsAndSwapIntervalReachesTheDriver) {
    EXPECT_TRUE(ogl_.HasExtension("swap_control"));  // part of a longer name
    EXPECT_TRUE(ogl_.HasExtension("GL_XYZ_swap_control_tear"));
    EXPECT_FALSE(ogl_.HasExtension("GL_NOT_THERE"));
    EXPECT_FALSE(ogl_.HasExtension(""));

    EXPECT_EQ(ogl_.InitialSwapInterval(), 0);  // what the driver had
    ASSERT_FALSE(scripted_->swapIntervalsSet.empty());
    EXPECT_EQ(scripted_->swapIntervalsSet.front(), 1);  // the default state waits for retrace
    ogl_.SetSwapInterval(false);
    EXPECT_EQ(ogl_.WantedSwapInterval(), 0);
    EXPECT_EQ(scripted_->swapIntervalsSet.back(), 0);

    ogl_.SetSwapInterval(true);
    ogl_.Release();
    EXPECT_EQ(ogl_.WantedSwapInterval(), 0);  // back to the driver's own
}

TEST_F(RenderContext, WithoutSwapControlTheIntervalStaysOne) {
    ogl_.SetSwapInterval(false);
    EXPECT_EQ(ogl_.WantedSwapInterval(), 1);
    EXPECT_EQ(ogl_.InitialSwapInterval(), 1);
    EXPECT_TRUE(scripted_->swapIntervalsSet.empty());
}

class FailingWindowSystem : public GLTest {
  protected:
    bool ExpectsContext() const override { return false; }
};

class NoSurface : public FailingWindowSystem {
    void Script(ScriptedBinding& b) override { b.noSurface = true; }
};
TEST_F(NoSurface, ReportsTheMissingDeviceContextOnly) {
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].code, -1);
    EXPECT_EQ(reports_[0].message, "The device-context could not be determined");
    EXPECT_FALSE(ogl_.IsReady());
}

class NoContext : public FailingWindowSystem {
    void Script(ScriptedBinding& b) override { b.createResult = TGLCreateResult::kNoContext; }
};
TEST_F(NoContext, ReportsTheFailedContextAndAsksToQuit) {
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].code, -4);
    EXPECT_EQ(reports_[0].caption, "OpenGL Error");
    EXPECT_EQ(reports_[0].message, "The render-context could not be made.");
    EXPECT_TRUE(reports_[0].quit);
    EXPECT_EQ(ogl_.LastErrorCode(), -4);
    EXPECT_FALSE(ogl_.IsReady());
}

class NotCurrent : public FailingWindowSystem {
    void Script(ScriptedBinding& b) override { b.failMakeCurrent = true; }
};
TEST_F(NotCurrent, ReportsAndDropsTheUnusableContext) {
    if (!reports_.empty() && reports_[0].code != -5)
        GTEST_SKIP() << "no OpenGL context could be created on this machine";
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].message, "The render-context could not be made current.");
    EXPECT_FALSE(binding_->HasContext());
    EXPECT_FALSE(ogl_.IsReady());
}

TEST_F(RenderContext, FrustumFollowsTheLookAt) {
    glLoadIdentity();
    gluLookAt(0, 0, 500, 0, 0, 0, 0, 1, 0);
    ogl_.UpdateFrustum();
    auto inside = [&](TVector3 p) {
        for (const TPlane& plane : ogl_.Frustum().Planes())
            if (VectorDot(plane.normal, p) + plane.distance < 0) return false;
        return true;
    };
    EXPECT_TRUE(inside({0, 0, 0}));
    EXPECT_TRUE(inside({100, 100, -100}));
    EXPECT_FALSE(inside({0, 0, 600}));    // behind the eye
    EXPECT_FALSE(inside({0, 0, -4600}));  // past the far plane
    EXPECT_FALSE(inside({0, 400, 0}));    // above a 53 degree view from 500 away
}
