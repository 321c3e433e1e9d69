// The EGL binding on its own, with no display in the environment: a context that runs the
// fixed-function calls, a framebuffer with depth and stencil, pixels read back top row first
// at the size set, recovery from a size the driver refuses, and cleanup that leaves other
// bindings alone.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "render/gl/egl_offscreen_binding.h"
#include "render/gl/offscreen_factory.h"
#include "support/egl_platforms.h"

namespace {

using Rgba = std::array<std::uint8_t, 4>;

// Takes DISPLAY and WAYLAND_DISPLAY out of the environment while it lives, so that nothing
// can lean on a display server.
class WithoutDisplay {
  public:
    WithoutDisplay() {
        for (Saved& s : saved_) {
            if (const char* value = std::getenv(s.name)) s.value = value;
            ::unsetenv(s.name);
        }
    }
    ~WithoutDisplay() {
        for (const Saved& s : saved_)
            if (s.value) ::setenv(s.name, s.value->c_str(), 1);
    }

  private:
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    Saved saved_[2] = {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}};
};

// A quad over the whole viewport at depth z, with identity matrices.
void FullQuad(float z) {
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, z);
    glVertex3f(1, -1, z);
    glVertex3f(1, 1, z);
    glVertex3f(-1, 1, z);
    glEnd();
}

class EglBinding : public ::testing::Test {
  protected:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 30;

    void SetUp() override {
        VELDRA_REQUIRE_SURFACELESS_EGL();
        binding_ = Make();
    }

    std::unique_ptr<TEglOffscreenBinding> Make() {
        auto binding = std::make_unique<TEglOffscreenBinding>(kWidth, kHeight);
        EXPECT_TRUE(binding->HasSurface());
        EXPECT_EQ(binding->CreateContext(), TGLCreateResult::kOk);
        EXPECT_TRUE(binding->MakeCurrent());
        return binding;
    }

    WithoutDisplay withoutDisplay_;  // first in, last out: the bindings never see a display
    std::unique_ptr<TEglOffscreenBinding> binding_;
};

TEST_F(EglBinding, RunsTheFixedFunctionCallsWithoutADisplay) {
    ASSERT_TRUE(binding_->HasContext());
    EXPECT_NE(binding_->ExtensionString().find("GL_ARB_multitexture"), std::string::npos);
    EXPECT_NE(binding_->ProcAddress("glActiveTextureARB"), nullptr);

    // A display list with a rotation and a lit quad: calls a core-profile context refuses.
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glNormal3f(0.0f, 0.0f, -1.0f);  // turned to face the viewer and the light
    FullQuad(0.0f);
    glEndList();
    const GLfloat red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, red);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, red);
    glCallList(list);
    glDeleteLists(list, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const TPixelImage image = binding_->ReadPixels();
    ASSERT_EQ(image.width, kWidth);
    const Rgba centre = image.Pixel(kWidth / 2, kHeight / 2);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);

    binding_->DoneCurrent();
    EXPECT_TRUE(binding_->ReadPixels().rgba.empty());
    EXPECT_EQ(binding_->ExtensionString(), "");
}

TEST_F(EglBinding, FramebufferHasDepthAndStencil) {
    GLint depthBits = 0, stencilBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    EXPECT_GE(depthBits, 24);
    EXPECT_GE(stencilBits, 8);

    glClearColor(0, 0, 0, 1);
    glClearStencil(0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // Mark the left half in the stencil only.
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glRectf(-1.0f, -1.0f, 0.0f, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // A near green quad, then a far blue one that the depth test must keep behind it; both
    // only where the stencil is marked.
    glStencilFunc(GL_EQUAL, 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glColor3f(0, 1, 0);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -0.5f);
    glVertex3f(1, -1, -0.5f);
    glVertex3f(1, 0, -0.5f);
    glVertex3f(-1, 0, -0.5f);
    glEnd();
    glColor3f(0, 0, 1);
    FullQuad(0.5f);

    const TPixelImage image = binding_->ReadPixels();
    EXPECT_EQ(image.Pixel(5, kHeight - 5), (Rgba{0, 255, 0, 255}));  // left, lower: near wins
    EXPECT_EQ(image.Pixel(5, 5), (Rgba{0, 0, 255, 255}));            // left, upper: far only
    EXPECT_EQ(image.Pixel(kWidth - 5, kHeight - 5), (Rgba{0, 0, 0, 255}));  // right: masked
    EXPECT_EQ(image.Pixel(kWidth - 5, 5), (Rgba{0, 0, 0, 255}));
}

TEST_F(EglBinding, ReadsTopRowFirstAtTheSizeSet) {
    ASSERT_TRUE(binding_->SetSize(7, 5));
    EXPECT_EQ(binding_->Width(), 7);
    ASSERT_TRUE(binding_->MakeCurrent());
    glViewport(0, 0, 7, 5);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);  // all exact in 8 bits: 51, 102, 153
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 4, 7, 1);  // the top row, counted from the bottom as GL does
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const TPixelImage image = binding_->ReadPixels();
    ASSERT_EQ(image.width, 7);
    ASSERT_EQ(image.height, 5);
    ASSERT_EQ(image.rgba.size(), 7u * 5u * 4u);
    EXPECT_EQ(image.Pixel(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(image.Pixel(6, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(image.Pixel(3, 1), (Rgba{51, 102, 153, 255}));
    EXPECT_EQ(image.Pixel(6, 4), (Rgba{51, 102, 153, 255}));
}

TEST_F(EglBinding, RefusedSizeFailsCleanlyAndASmallerOneRecovers) {
    GLint maxSide = 0;
    glGetIntegerv(0x84E8 /* GL_MAX_RENDERBUFFER_SIZE */, &maxSide);
    ASSERT_GT(maxSide, 0);
    EXPECT_FALSE(binding_->SetSize(maxSide + 1, 1));
    EXPECT_FALSE(binding_->HasContext());
    EXPECT_FALSE(binding_->MakeCurrent());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    ASSERT_TRUE(binding_->SetSize(4, 3));
    ASSERT_TRUE(binding_->MakeCurrent());
    const TPixelImage image = binding_->ReadPixels();
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 3);
}

TEST_F(EglBinding, EndingOneBindingLeavesAnotherDrawingAndContextsCanBeRemade) {
    std::unique_ptr<TEglOffscreenBinding> other = Make();
    binding_.reset();  // both share the process's one surfaceless display
    ASSERT_TRUE(other->MakeCurrent());
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(other->ReadPixels().Pixel(0, 0), (Rgba{0, 255, 0, 255}));

    other->DestroyContext();
    EXPECT_FALSE(other->HasContext());
    EXPECT_FALSE(other->MakeCurrent());
    EXPECT_EQ(other->CreateContext(), TGLCreateResult::kOk);
    EXPECT_TRUE(other->MakeCurrent());
}

TEST_F(EglBinding, FactoryPrefersEglAndHandsItOverWithoutAContext) {
    binding_.reset();
    const std::unique_ptr<IOffscreenBinding> made = MakeOffscreenBinding(kWidth, kHeight);
    EXPECT_NE(dynamic_cast<TEglOffscreenBinding*>(made.get()), nullptr);
    EXPECT_FALSE(made->HasContext());
    EXPECT_EQ(made->CreateContext(), TGLCreateResult::kOk);
}

}  // namespace
